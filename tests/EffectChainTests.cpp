#include "TestSupport.h"

#include "components/EffectChain.h"

using namespace TestSupport;

namespace
{
    constexpr int pitchRange = 0, pitchMix = 1, echoTime = 2, echoMix = 3;

    float raw (TessalineAudioProcessor& processor, const char* id)
    {
        return processor.parameters.getRawParameterValue (id)->load();
    }
}

TEST (EffectChain, ReadOutsCarryTheirUnitsAndDecimals)
{
    const std::tuple<const char*, float, const char*> cases[] {
        { "sound_0_pitch_attribute", -3.0f, "-3.00" },
        { "sound_0_pitch_attribute", 12.0f, "12.00" },
        { "sound_3_pitch_mix", 37.5f, "37.50 %" },
        { "sound_0_echo_attribute", 200.0f, "200 ms" },
        { "sound_7_echo_attribute", 5.0f, "5 ms" },
        { "sound_0_echo_mix", 0.0f, "0.00 %" },
        { "sound_1_space_attribute", 50.0f, "50.00 %" },
        { "sound_1_chorus_attribute", 12.345f, "12.35 %" },
        { "SOUND_2_WARMTH_ATTRIBUTE", 100.0f, "100.00 %" },
        { "input", 1.5f, "1.50" },
    };
    for (const auto& [id, value, text] : cases)
        EXPECT_EQ (EffectChain::readOut (id, value), text) << id;
}

TEST (EffectChain, TypedValuesAreClampedAndSnappedByTheParameter)
{
    TessalineAudioProcessor processor;
    EffectChain chain (processor.parameters, 0);

    struct Case
    {
        int knob;
        const char* typed;
        const char* id;
        float expected;
    };
    const Case cases[] {
        { echoTime, "250.6", "sound_0_echo_attribute", 251.0f },
        { echoTime, "1", "sound_0_echo_attribute", 5.0f },
        { echoMix, "150", "sound_0_echo_mix", 100.0f },
        { echoMix, "abc", "sound_0_echo_mix", 0.0f },
        { pitchRange, "5", "sound_0_pitch_attribute", 5.0f },
        { pitchMix, "37.5%", "sound_0_pitch_mix", 37.5f },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.typed);
        auto& label = chain.knobs[(size_t) c.knob].label;
        const auto caption = label.getText();
        label.setText (c.typed, juce::sendNotificationSync);
        EXPECT_FLOAT_EQ (raw (processor, c.id), c.expected);
        EXPECT_EQ (label.getText(), caption);
    }

    // The caption itself changes nothing.
    chain.knobs[echoTime].label.setText ("TIME", juce::sendNotificationSync);
    EXPECT_FLOAT_EQ (raw (processor, "sound_0_echo_attribute"), 5.0f);
}

TEST (EffectChain, TheFieldOpensWithTheRawValueAndHostChangesLeaveCaptions)
{
    TessalineAudioProcessor processor;
    EffectChain chain (processor.parameters, 0);
    chain.setSize (800, 185);

    auto& label = chain.knobs[echoTime].label;
    label.showEditor();
    ASSERT_NE (label.getCurrentTextEditor(), nullptr);
    EXPECT_EQ (label.getCurrentTextEditor()->getText(), "200.00");
    EXPECT_EQ (label.getCurrentTextEditor()->getHighlightedText(), "200.00");
    label.hideEditor (true);

    auto* mix = processor.parameters.getParameter ("sound_0_echo_mix");
    mix->setValueNotifyingHost (0.375f);
    pumpMessages (20);
    EXPECT_NEAR (chain.knobs[echoMix].slider.getValue(), 37.5, 1.0e-3);
    EXPECT_EQ (chain.knobs[echoMix].label.getText(), "MIX");
}

TEST (EffectChain, EachPanelEditsItsOwnSoundAndSitsWhereTheLayoutSays)
{
    TessalineAudioProcessor processor;
    EffectChain first (processor.parameters, 0), fourth (processor.parameters, 3);
    first.setSize (800, 185);

    first.knobs[pitchMix].slider.setValue (40.0, juce::sendNotificationSync);
    fourth.knobs[pitchMix].slider.setValue (60.0, juce::sendNotificationSync);
    EXPECT_FLOAT_EQ (raw (processor, "sound_0_pitch_mix"), 40.0f);
    EXPECT_FLOAT_EQ (raw (processor, "sound_3_pitch_mix"), 60.0f);

    const char* captions[] { "RANGE", "MIX", "TIME", "MIX", "SIZE", "MIX", "DEPTH", "MIX", "COLOR", "MIX" };
    const int labelX[] { 54, 105, 201, 253, 349, 400, 496, 547, 643, 694 };
    for (int i = 0; i < EffectChain::numKnobs; ++i)
    {
        EXPECT_EQ (first.knobs[(size_t) i].label.getText(), captions[i]);
        EXPECT_EQ (first.knobs[(size_t) i].label.getBounds(), juce::Rectangle<int> (labelX[i], 82, 53, 12));
        EXPECT_EQ (first.knobs[(size_t) i].slider.getHeight(), 38);
    }
    EXPECT_EQ (first.knobs[0].slider.getBounds(), juce::Rectangle<int> (61, 40, 38, 38));
    EXPECT_EQ (first.titleLabels[4].getText(), "WARMTH");
    EXPECT_EQ (first.titleLabels[4].getBounds(), juce::Rectangle<int> (662, 16, 65, 16));

    // Grey separators between the effects.
    juce::Image image (juce::Image::ARGB, 800, 185, true);
    {
        juce::Graphics g (image);
        first.paint (g);
    }
    const auto top = juce::roundToInt (185.0f * 0.5f - 39.275f - 35.0f);
    EXPECT_EQ (image.getPixelAt (179, top + 20), juce::Colour (0xff8a8a8a));
    EXPECT_LT (image.getPixelAt (185, top + 20).getAlpha(), 10);
}
