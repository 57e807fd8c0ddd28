#include "editor/PluginEditor.h"

TessalineAudioProcessorEditor::TessalineAudioProcessorEditor (TessalineAudioProcessor& owner,
                                                              juce::AudioProcessorValueTreeState& state)
    : AudioProcessorEditor (owner), audioProcessor (owner), valueTreeState (state)
{
    setOpaque (true);
    setSize (800, 500);
}

void TessalineAudioProcessorEditor::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (0xff1b0c24));
}

void TessalineAudioProcessorEditor::displayPlayback (int step, int variation)
{
    if (juce::isPositiveAndBelow (lastPlayingVariation, Parameters::numVariations))
        variationPlaying[(size_t) lastPlayingVariation] = false;

    if (juce::isPositiveAndBelow (variation, Parameters::numVariations))
        variationPlaying[(size_t) variation] = true;

    lastHighlightedStep = step;
    lastPlayingVariation = variation;
    repaint();
}
