#pragma once

#include "components/SampleFiles.h"

#include <juce_audio_basics/juce_audio_basics.h>

// The main-sample loader: an icon until a sample is present, then a white waveform picture of it.
// Takes files by dialog or drag and drop and hands them to `onFileLoaded`.
class AudioFileButton : public juce::Component, public juce::FileDragAndDropTarget
{
public:
    AudioFileButton();

    void mouseEnter (const juce::MouseEvent&) override;
    void mouseExit (const juce::MouseEvent&) override;
    void mouseUp (const juce::MouseEvent&) override;
    void paint (juce::Graphics&) override;
    void resized() override;

    bool isInterestedInFileDrag (const juce::StringArray& files) override;
    void fileDragEnter (const juce::StringArray& files, int x, int y) override;
    void fileDragExit (const juce::StringArray& files) override;
    void filesDropped (const juce::StringArray& files, int x, int y) override;

    // Takes a file in: decodes it for the picture, then runs `onFileLoaded`. Undecodable files change nothing.
    void loadAudioFile (const juce::File& file);

    // Shows a main sample restored from its stored form (frames of little-endian floats).
    void loadFromBinary (const juce::MemoryBlock& data, int numChannels, int numSamples);

    // Draws channel 0 of `buffer` into the 150 x 100 picture, one column of peaks per pixel.
    void updateWaveformImage (const juce::AudioBuffer<float>& buffer);

    void openFileChooser();

    const juce::Image& getWaveformImage() const noexcept { return waveformImage; }

    std::function<void (const juce::File&)> onFileLoaded;
    bool isLoaded = false;
    int buttonState = SampleFiles::Idle;

private:
    void setState (int newState);

    juce::Image idleImage, hoverImage, waveformImage;
    juce::Rectangle<int> iconBounds, waveformBounds;
    juce::AudioBuffer<float> audioBuffer;
    bool isDragOver = false;

    static constexpr int iconWidth = 26, iconHeight = 26;
    static constexpr int waveformWidth = 150, waveformHeight = 100;
};
