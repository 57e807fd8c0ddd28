#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// One step of the grid: shows the variation its pad plays and lets the user type another.
class SequencerStep : public juce::Component, private juce::ValueTree::Listener
{
public:
    explicit SequencerStep (juce::ValueTree pad);
    ~SequencerStep() override;

    void paint (juce::Graphics&) override;
    void resized() override;

    // Typed text as a variation: its leading integer (as C's atoi reads it) limited to 1..8.
    static int variationFromText (const juce::String& text);

    juce::Label& getLabel() noexcept { return stepValueLabel; }

    bool isPlaying = false;

private:
    void valueTreePropertyChanged (juce::ValueTree& tree, const juce::Identifier& property) override;
    void showPadValue();

    juce::ValueTree padTree;
    juce::Label stepValueLabel { "stepValueLabel", "1" };
};
