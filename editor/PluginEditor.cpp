#include "editor/PluginEditor.h"

#include "BinaryData.h"
#include "editor/EditorFonts.h"

namespace
{
    const auto accentPurple = juce::Colour::fromString ("FF3a104a");
    const auto mutedGrey = juce::Colour::fromString ("FF8a8a8a");

    juce::Image pagePicture (int page)
    {
        return page == TessalineAudioProcessorEditor::sequencerPage
                   ? juce::ImageCache::getFromMemory (BinaryData::sequencerBackground, BinaryData::sequencerBackgroundSize)
                   : juce::ImageCache::getFromMemory (BinaryData::dashboardBackground, BinaryData::dashboardBackgroundSize);
    }
}

TessalineAudioProcessorEditor::TessalineAudioProcessorEditor (TessalineAudioProcessor& owner,
                                                              juce::AudioProcessorValueTreeState& state)
    : AudioProcessorEditor (owner),
      valueTreeState (state),
      audioProcessor (owner),
      uiPageNum (state.state.getProperty (uiPageNumKey, dashboardPage)),
      labelFont (EditorFonts::label())
{
    setOpaque (true);
    setSize (800, 500);

    // Most state changes become visible through this whole-window repaint.
    repaintTimer = std::make_unique<RepaintTimer> (*this);
    repaintTimer->startTimer (repaintIntervalMs);
}

void TessalineAudioProcessorEditor::paint (juce::Graphics& g)
{
    paintBackground (g);

    if (uiPageNum == sequencerPage)
        paintSequencerPage (g);
    else
        paintDashboard (g);
}

void TessalineAudioProcessorEditor::paintBackground (juce::Graphics& g)
{
    const auto scale = g.getInternalContext().getPhysicalPixelScaleFactor();

    if (uiPageNum != scaledBackgroundPage || scale != scaledBackgroundScale)
    {
        const auto picture = pagePicture (uiPageNum);
        scaledBackground = {};

        if (picture.isValid())
        {
            scaledBackground = juce::Image (juce::Image::RGB, juce::roundToInt ((float) getWidth() * scale),
                                            juce::roundToInt ((float) getHeight() * scale), false);
            juce::Graphics scaled (scaledBackground);
            scaled.setImageResamplingQuality (juce::Graphics::highResamplingQuality);
            scaled.drawImageTransformed (picture, juce::AffineTransform::scale ((float) scaledBackground.getWidth() / (float) picture.getWidth(),
                                                                                (float) scaledBackground.getHeight() / (float) picture.getHeight()));
        }

        scaledBackgroundPage = uiPageNum;
        scaledBackgroundScale = scale;
    }

    if (scaledBackground.isValid())
        g.drawImageTransformed (scaledBackground, juce::AffineTransform::scale (1.0f / scale));
}

void TessalineAudioProcessorEditor::paintSequencerPage (juce::Graphics& g)
{
    g.setFont (labelFont);
    g.setColour (juce::Colours::white);
    g.drawText ("SEQUENCER", 52, 99, 104, 17, juce::Justification::centredLeft);
}

void TessalineAudioProcessorEditor::paintDashboard (juce::Graphics& g)
{
    g.setFont (labelFont);
    g.setColour (juce::Colours::white);
    g.drawText ("MAIN SAMPLE", 53, 92, 120, 17, juce::Justification::centredLeft);
    g.drawText ("VARIATIONS", 260, 92, 104, 17, juce::Justification::centredLeft);

    const auto effectsOn = Parameters::isSwitchOn (valueTreeState.getRawParameterValue (Parameters::effectsOn)->load());
    g.setColour (effectsOn ? juce::Colours::white : mutedGrey);
    g.drawText ("EFFECTS", 71, 300, 120, 17, juce::Justification::left);

    for (size_t v = 0; v < variationOrigins.size(); ++v)
    {
        const auto box = juce::Rectangle<int> (variationOrigins[v].x, variationOrigins[v].y, variationBoxWidth, variationBoxHeight).toFloat();

        if (variationPlaying[v])
        {
            g.setColour (accentPurple);
            g.fillRoundedRectangle (box, 2.0f);
        }

        g.setColour (juce::Colours::white);
        g.drawRoundedRectangle (box, 2.0f, 1.0f);
    }
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
