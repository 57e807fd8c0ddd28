#pragma once

#include "processor/PluginProcessor.h"

#include <juce_gui_basics/juce_gui_basics.h>

class TessalineAudioProcessorEditor : public juce::AudioProcessorEditor
{
public:
    TessalineAudioProcessorEditor (TessalineAudioProcessor& owner, juce::AudioProcessorValueTreeState& state);

    void paint (juce::Graphics& g) override;

    // Shows what the latest note-on played: the grid step and the zero-based variation. Indices
    // out of range are ignored for the part they concern.
    void displayPlayback (int step, int variation);

    int getLastHighlightedStep() const noexcept { return lastHighlightedStep; }
    int getLastPlayingVariation() const noexcept { return lastPlayingVariation; }
    bool isVariationPlaying (int variation) const noexcept { return variationPlaying[(size_t) variation]; }

private:
    TessalineAudioProcessor& audioProcessor;
    juce::AudioProcessorValueTreeState& valueTreeState;

    std::array<bool, Parameters::numVariations> variationPlaying {};
    int lastHighlightedStep = -1;
    int lastPlayingVariation = -1;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TessalineAudioProcessorEditor)
};
