#include "TestSupport.h"

namespace
{
    struct Expected
    {
        int position; // one-based, as the host numbers them
        const char* id;
        const char* name;
        float min, max, step, defaultValue;
        bool isInt = false;
    };

    const Expected expectedParameters[] {
        { 1, "effectsOn", "Effects On", 0, 1, 0.01f, 0.5f },
        { 2, "sequencerOn", "Sequencer On", 0, 1, 0.01f, 0.5f },
        { 3, "sequencerLength", "Sequencer Length", 0, 1, 0.01f, 0.5f },
        { 4, "input", "Input", -24, 24, 0.01f, 0 },
        { 5, "mix", "Mix", 0, 100, 0.01f, 50 },
        { 6, "output", "Output", -24, 24, 0.01f, 0 },
        { 7, "variation_1_slot_1_volume", "Variation 1 Slot 1 Volume", -12, 12, 0, 0 },
        { 8, "variation_1_slot_2_volume", "Variation 1 Slot 2 Volume", -12, 12, 0, 0 },
        { 30, "variation_8_slot_3_volume", "Variation 8 Slot 3 Volume", -12, 12, 0, 0 },
        { 31, "sound_0_pitch_attribute", "Sound 1 Pitch Range", -12, 12, 0, 0 },
        { 32, "sound_0_pitch_mix", "Sound 1 Pitch Mix", 0, 100, 0, 0 },
        { 33, "sound_0_echo_attribute", "Sound 1 Echo Time", 5, 2000, 1, 200, true },
        { 34, "sound_0_echo_mix", "Sound 1 Echo Mix", 0, 100, 0, 0 },
        { 35, "sound_0_space_attribute", "Sound 1 Space Size", 0, 100, 0, 50 },
        { 37, "sound_0_chorus_attribute", "Sound 1 Chorus Depth", 0, 100, 0, 50 },
        { 39, "sound_0_warmth_attribute", "Sound 1 Warmth Color", 0, 100, 0, 50 },
        { 40, "sound_0_warmth_mix", "Sound 1 Warmth Mix", 0, 100, 0, 0 },
        { 41, "sound_1_pitch_attribute", "Sound 2 Pitch Range", -12, 12, 0, 0 },
        { 103, "sound_7_echo_attribute", "Sound 8 Echo Time", 5, 2000, 1, 200, true },
        { 110, "sound_7_warmth_mix", "Sound 8 Warmth Mix", 0, 100, 0, 0 },
    };

    juce::NormalisableRange<float> rangeOf (juce::RangedAudioParameter& parameter)
    {
        return parameter.getNormalisableRange();
    }
}

TEST (Parameters, LayoutHasTheParametersInHostOrderWithTheirRangesAndDefaults)
{
    TessalineAudioProcessor processor;
    const auto& all = processor.getParameters();
    ASSERT_EQ (all.size(), 110);

    for (const auto& expected : expectedParameters)
    {
        SCOPED_TRACE (expected.id);
        auto* parameter = dynamic_cast<juce::RangedAudioParameter*> (all[expected.position - 1]);
        ASSERT_NE (parameter, nullptr);
        EXPECT_EQ (parameter->getParameterID(), expected.id);
        EXPECT_EQ (parameter->getName (100), expected.name);
        EXPECT_EQ (parameter->getVersionHint(), 1);
        EXPECT_EQ (parameter->getLabel(), "");
        EXPECT_TRUE (parameter->isAutomatable());
        EXPECT_EQ (dynamic_cast<juce::AudioParameterInt*> (parameter) != nullptr, expected.isInt);

        const auto range = rangeOf (*parameter);
        EXPECT_FLOAT_EQ (range.start, expected.min);
        EXPECT_FLOAT_EQ (range.end, expected.max);
        EXPECT_FLOAT_EQ (range.interval, expected.step);
        EXPECT_FLOAT_EQ (range.skew, 1.0f);
        EXPECT_FLOAT_EQ (processor.parameters.getRawParameterValue (expected.id)->load(), expected.defaultValue);
        EXPECT_FLOAT_EQ (range.convertFrom0to1 (parameter->getDefaultValue()), expected.defaultValue);
    }
}

TEST (Parameters, EveryIndexedParameterFollowsItsPattern)
{
    TessalineAudioProcessor processor;
    const auto& all = processor.getParameters();
    int position = 6;

    for (int v = 1; v <= 8; ++v)
        for (int s = 1; s <= 3; ++s)
        {
            auto* parameter = dynamic_cast<juce::AudioParameterFloat*> (all[position++]);
            ASSERT_NE (parameter, nullptr);
            EXPECT_EQ (parameter->getParameterID(), "variation_" + juce::String (v) + "_slot_" + juce::String (s) + "_volume");
            EXPECT_EQ (parameter->getName (100), "Variation " + juce::String (v) + " Slot " + juce::String (s) + " Volume");
        }

    const char* effects[] { "pitch", "echo", "space", "chorus", "warmth" };
    for (int n = 0; n < 8; ++n)
        for (const auto* effect : effects)
            for (const auto* kind : { "attribute", "mix" })
            {
                auto* parameter = dynamic_cast<juce::RangedAudioParameter*> (all[position++]);
                ASSERT_NE (parameter, nullptr);
                EXPECT_EQ (parameter->getParameterID(), "sound_" + juce::String (n) + "_" + effect + "_" + kind);
                EXPECT_TRUE (parameter->getName (100).startsWith ("Sound " + juce::String (n + 1) + " "));
                if (juce::String (kind) == "mix")
                {
                    EXPECT_FLOAT_EQ (processor.parameters.getRawParameterValue (parameter->getParameterID())->load(), 0.0f);
                }
            }

    EXPECT_EQ (position, 110);
}

TEST (Parameters, EchoTimeIsAnIntegerClampedToItsRange)
{
    TessalineAudioProcessor processor;
    auto* echo = dynamic_cast<juce::AudioParameterInt*> (processor.parameters.getParameter ("sound_7_echo_attribute"));
    ASSERT_NE (echo, nullptr);

    *echo = 1;
    EXPECT_EQ (echo->get(), 5);
    *echo = 5000;
    EXPECT_EQ (echo->get(), 2000);
    echo->setValueNotifyingHost (echo->convertTo0to1 (250.6f));
    EXPECT_EQ (processor.parameters.getRawParameterValue ("sound_7_echo_attribute")->load(), 251.0f);
}

TEST (Parameters, SwitchesAreOnFromHalfTheirRange)
{
    TessalineAudioProcessor processor;
    EXPECT_TRUE (Parameters::isSwitchOn (processor.parameters.getRawParameterValue ("effectsOn")->load()));
    EXPECT_FALSE (Parameters::isSwitchOn (0.49f));
    EXPECT_TRUE (Parameters::isSwitchOn (1.0f));
}

TEST (Parameters, GainAndMixConventions)
{
    EXPECT_FLOAT_EQ (Parameters::decibelsToGain (6.0f), std::pow (10.0f, 6.0f / 20.0f));
    EXPECT_FLOAT_EQ (Parameters::decibelsToGain (-100.0f), 0.0f);
    EXPECT_GT (Parameters::decibelsToGain (-99.0f), 0.0f);
    EXPECT_FLOAT_EQ (Parameters::mixFactor (150.0f), 1.0f);
    EXPECT_FLOAT_EQ (Parameters::mixFactor (-20.0f), 0.0f);
    EXPECT_FLOAT_EQ (Parameters::mixFactor (25.0f), 0.25f);
}
