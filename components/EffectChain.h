#pragma once

#include "components/LookAndFeels.h"

#include <juce_audio_processors/juce_audio_processors.h>

// The panel that edits one sound's five effects: ten knobs in pairs under the effects' names,
// each with a caption that shows the value while the knob is dragged and takes typed values.
class EffectChain : public juce::Component
{
public:
    EffectChain (juce::AudioProcessorValueTreeState& state, int soundIndex);
    ~EffectChain() override;

    void paint (juce::Graphics&) override;
    void resized() override;

    static constexpr int numKnobs = 10;

    struct Knob
    {
        juce::Slider slider;
        juce::Label label;
        std::unique_ptr<juce::AudioProcessorValueTreeState::SliderAttachment> attachment;
    };

    // In the order pitch, echo, space, chorus, warmth; attribute then mix.
    std::array<Knob, numKnobs> knobs;
    std::array<juce::Label, 5> titleLabels;

    // The value as the read-out shows it: "-3.00", "200 ms", "37.50 %".
    static juce::String readOut (const juce::String& parameterID, float rawValue);

private:
    void makeDynamicLabel (juce::Label& label, const juce::String& caption, const juce::String& parameterID, juce::Slider& slider);

    juce::AudioProcessorValueTreeState& parameters;
    int soundIndex;
    std::unique_ptr<OutlineKnobLookAndFeel> knobLookAndFeel;
};
