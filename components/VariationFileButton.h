#pragma once

#include "components/LookAndFeels.h"
#include "components/SampleFiles.h"

#include <juce_audio_formats/juce_audio_formats.h>
#include <juce_audio_processors/juce_audio_processors.h>

// One variation slot: an outlined circle with an icon until the slot holds audio, then a volume
// knob bound to the slot's volume parameter, with a dB read-out while it is dragged.
class VariationFileButton : public juce::Component, public juce::FileDragAndDropTarget
{
public:
    VariationFileButton (const juce::Rectangle<int>& bounds, const void* idleImageData, int idleImageSize,
                         const void* hoverImageData, int hoverImageSize, juce::AudioProcessorValueTreeState& state,
                         const juce::String& parameterID);
    ~VariationFileButton() override;

    void mouseEnter (const juce::MouseEvent&) override;
    void mouseExit (const juce::MouseEvent&) override;
    void mouseUp (const juce::MouseEvent&) override;
    bool hitTest (int x, int y) override;
    void paint (juce::Graphics&) override;
    void resized() override;

    bool isInterestedInFileDrag (const juce::StringArray& files) override;
    void fileDragEnter (const juce::StringArray& files, int x, int y) override;
    void fileDragExit (const juce::StringArray& files) override;
    void filesDropped (const juce::StringArray& files, int x, int y) override;

    // Takes a file in when a reader opens for it: `isLoaded` and `onFileLoaded`, nothing drawn yet.
    void loadAudioFile (const juce::File& file);
    void openFileChooser();
    void updateVolumeLabel();

    // The slot now holds audio: the knob replaces the icon. / The slot was emptied.
    void showLoaded();
    void showEmpty();

    const juce::Label& getVolumeLabel() const noexcept { return volumeLabel; }

    std::function<void (const juce::File&)> onFileLoaded;
    int buttonState = SampleFiles::Idle;
    bool isLoaded = false;
    juce::Slider volumeSlider;

private:
    void setState (int newState);

    juce::Image idleImage, hoverImage;
    juce::AudioFormatManager formatManager;
    juce::Label volumeLabel;
    std::unique_ptr<juce::AudioProcessorValueTreeState::SliderAttachment> volumeAttachment;
    VariationKnobLookAndFeel knobLookAndFeel;

    static constexpr int knobSize = 28;
};
