#include "components/EffectChain.h"

#include "components/ValueLabel.h"
#include "editor/EditorFonts.h"
#include "processor/Parameters.h"

namespace
{
    constexpr std::array<const char*, EffectChain::numKnobs> captions { "RANGE", "MIX", "TIME", "MIX", "SIZE", "MIX", "DEPTH", "MIX", "COLOR", "MIX" };
    constexpr std::array<int, EffectChain::numKnobs> knobX { 61, 112, 208, 260, 356, 407, 503, 554, 650, 701 };
    constexpr std::array<const char*, 5> titles { "PITCH", "ECHO", "SPACE", "CHORUS", "WARMTH" };
    constexpr std::array<int, 5> titleX { 73, 220, 367, 515, 662 };
    constexpr std::array<float, 4> separatorX { 178.2f, 325.4125f, 472.6125f, 619.8125f };

    constexpr int knobSize = 38, knobY = 40;

    juce::String parameterIdOf (int sound, int knob)
    {
        const auto effect = static_cast<Parameters::Effect> (knob / 2);
        return knob % 2 == 0 ? Parameters::effectAttributeId (sound, effect) : Parameters::effectMixId (sound, effect);
    }
}

EffectChain::EffectChain (juce::AudioProcessorValueTreeState& state, int sound)
    : parameters (state), soundIndex (sound), knobLookAndFeel (std::make_unique<OutlineKnobLookAndFeel>())
{
    knobLookAndFeel->setColour (juce::Slider::rotarySliderFillColourId, juce::Colours::transparentWhite);
    knobLookAndFeel->setColour (juce::Slider::rotarySliderOutlineColourId, juce::Colours::transparentWhite);
    knobLookAndFeel->setColour (juce::Slider::thumbColourId, juce::Colours::white);

    for (int i = 0; i < numKnobs; ++i)
    {
        auto& knob = knobs[(size_t) i];
        const auto id = parameterIdOf (soundIndex, i);

        addAndMakeVisible (knob.slider);
        knob.slider.setLookAndFeel (knobLookAndFeel.get());
        knob.slider.setSliderStyle (juce::Slider::RotaryVerticalDrag);
        knob.slider.setTextBoxStyle (juce::Slider::NoTextBox, false, 0, 0);
        knob.attachment = std::make_unique<juce::AudioProcessorValueTreeState::SliderAttachment> (parameters, id, knob.slider);
        addAndMakeVisible (knob.label);
        makeDynamicLabel (knob.label, captions[(size_t) i], id, knob.slider);
    }

    for (size_t e = 0; e < titleLabels.size(); ++e)
    {
        auto& title = titleLabels[e];
        addAndMakeVisible (title);
        title.setText (titles[e], juce::dontSendNotification);
        title.setJustificationType (juce::Justification::centred);
        title.setColour (juce::Label::textColourId, juce::Colours::white);
        title.setFont (juce::Font (14.0f).withExtraKerningFactor (0.1f));
    }
}

EffectChain::~EffectChain()
{
    for (auto& knob : knobs)
        knob.slider.setLookAndFeel (nullptr);
}

juce::String EffectChain::readOut (const juce::String& parameterID, float rawValue)
{
    const auto id = parameterID.toLowerCase();
    const auto isEchoTime = id.contains ("echo_attribute");
    const auto unit = id.contains ("pitch_attribute") ? ""
                    : isEchoTime                      ? " ms"
                    : (id.contains ("_mix") || id.contains ("space_attribute") || id.contains ("chorus_attribute")
                       || id.contains ("warmth_attribute")) ? " %" : "";
    return (isEchoTime ? juce::String ((double) rawValue, 0) : juce::String (rawValue, 2)) + unit;
}

void EffectChain::makeDynamicLabel (juce::Label& label, const juce::String& caption, const juce::String& parameterID, juce::Slider& slider)
{
    label.setEditable (true, false, false);
    label.setColour (juce::TextEditor::outlineColourId, juce::Colours::transparentBlack);
    label.setColour (juce::TextEditor::focusedOutlineColourId, juce::Colours::transparentBlack);
    label.setJustificationType (juce::Justification::centred);
    // JUCE 7 has no portable typeface metrics; the embedded face's own metrics stand in for them.
    label.setFont (EditorFonts::regular (15.0f, 0.1f));

    const auto value = [this, parameterID]
    {
        const auto* raw = parameters.getRawParameterValue (parameterID);
        return raw != nullptr ? raw->load() : 0.0f;
    };
    ValueLabel::connect (label, slider, caption, parameters.getParameter (parameterID),
                         [parameterID, value] { return readOut (parameterID, value()); },
                         [value] { return juce::String (value(), 2); });
}

void EffectChain::paint (juce::Graphics& g)
{
    g.setColour (juce::Colour (0xff8a8a8a));
    const auto y = (float) getHeight() * 0.5f - 39.275f - 35.0f;
    for (const auto x : separatorX)
        g.fillRect (juce::Rectangle<float> (x, y, 2.0f, 78.55f));
}

void EffectChain::resized()
{
    for (size_t i = 0; i < knobs.size(); ++i)
    {
        auto& knob = knobs[i];
        knob.slider.setBounds (knobX[i], knobY, knobSize, knobSize);
        const auto x = juce::roundToInt ((float) knobX[i] + ((float) knobSize - 52.9f) * 0.5f);
        const auto y = juce::roundToInt ((float) knobY + (float) knobSize + 4.25f);
        knob.label.setBounds (x, y, 53, 12);
    }

    for (size_t e = 0; e < titleLabels.size(); ++e)
        titleLabels[e].setBounds (titleX[e], 16, 65, 16);
}
