#include "components/SequencerStep.h"

#include "processor/SequencerState.h"

SequencerStep::SequencerStep (juce::ValueTree pad) : padTree (std::move (pad))
{
    padTree.addListener (this);

    stepValueLabel.setEditable (true, false, false);
    stepValueLabel.setJustificationType (juce::Justification::centred);
    stepValueLabel.setColour (juce::Label::textColourId, juce::Colours::white);
    stepValueLabel.setColour (juce::Label::backgroundColourId, juce::Colours::transparentWhite);
    stepValueLabel.setColour (juce::Label::outlineColourId, juce::Colours::white);
    stepValueLabel.setBorderSize (juce::BorderSize<int> (1));
    addAndMakeVisible (stepValueLabel);
    showPadValue();

    stepValueLabel.onTextChange = [this]
    {
        const auto variation = variationFromText (stepValueLabel.getText());
        padTree.setProperty (SequencerState::value, variation, nullptr);
        stepValueLabel.setText (juce::String (variation), juce::dontSendNotification);
    };
}

SequencerStep::~SequencerStep()
{
    padTree.removeListener (this);
}

int SequencerStep::variationFromText (const juce::String& text)
{
    const auto typed = std::atoi (text.trim().toRawUTF8());
    return typed > 8 ? 8 : (typed < 2 ? 1 : typed);
}

void SequencerStep::showPadValue()
{
    stepValueLabel.setText (juce::String ((int) padTree.getProperty (SequencerState::value, 1)), juce::dontSendNotification);
}

void SequencerStep::valueTreePropertyChanged (juce::ValueTree& tree, const juce::Identifier& property)
{
    // Shown as written, without limiting: the grid never writes a value outside 1..8 itself.
    if (tree == padTree && property == SequencerState::value)
        showPadValue();
}

void SequencerStep::paint (juce::Graphics& g)
{
    if (isPlaying)
        g.fillAll (juce::Colour::fromString ("ff3a104a"));

    g.setColour (juce::Colours::white);
    g.drawRoundedRectangle (getLocalBounds().toFloat(), 2.0f, 1.0f);
}

void SequencerStep::resized()
{
    stepValueLabel.setBounds (getLocalBounds());
}
