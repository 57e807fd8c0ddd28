#include "editor/PluginEditor.h"

TessalineAudioProcessorEditor::TessalineAudioProcessorEditor (TessalineAudioProcessor& processor,
                                                              juce::AudioProcessorValueTreeState& state)
    : AudioProcessorEditor (processor), audioProcessor (processor), valueTreeState (state)
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
