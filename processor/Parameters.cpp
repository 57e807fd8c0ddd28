#include "processor/Parameters.h"

namespace Parameters
{
namespace
{
    struct EffectDescription
    {
        const char* attributeLabel;
        float attributeMin, attributeMax, attributeDefault;
        const char* mixLabel;
    };

    // In the order of `Effect`; the echo attribute is the one integer parameter.
    constexpr std::array<EffectDescription, numEffects> effectDescriptions { {
        { " Pitch Range", -12.0f, 12.0f, 0.0f, " Pitch Mix" },
        { " Echo Time", 5.0f, 2000.0f, 200.0f, " Echo Mix" },
        { " Space Size", 0.0f, 100.0f, 50.0f, " Space Mix" },
        { " Chorus Depth", 0.0f, 100.0f, 50.0f, " Chorus Mix" },
        { " Warmth Color", 0.0f, 100.0f, 50.0f, " Warmth Mix" },
    } };

    juce::String effectId (int sound, Effect effect, const char* kind)
    {
        return "sound_" + juce::String (sound) + "_" + effectNames[(size_t) effect] + "_" + kind;
    }

    std::unique_ptr<juce::AudioParameterFloat> continuous (const juce::String& id, const juce::String& name,
                                                           float min, float max, float defaultValue)
    {
        return std::make_unique<juce::AudioParameterFloat> (juce::ParameterID { id, version }, name,
                                                            juce::NormalisableRange<float> (min, max, 0.0f, 1.0f),
                                                            defaultValue);
    }
}

juce::String slotVolumeId (int variation, int slot)
{
    return "variation_" + juce::String (variation + 1) + "_slot_" + juce::String (slot + 1) + "_volume";
}

juce::String effectAttributeId (int sound, Effect effect) { return effectId (sound, effect, "attribute"); }
juce::String effectMixId (int sound, Effect effect) { return effectId (sound, effect, "mix"); }

juce::AudioProcessorValueTreeState::ParameterLayout createParameterLayout()
{
    juce::AudioProcessorValueTreeState::ParameterLayout layout;

    // The five-argument form implies a step of 0.01.
    const auto global = [&layout] (const char* id, const char* name, float min, float max, float defaultValue)
    {
        layout.add (std::make_unique<juce::AudioParameterFloat> (juce::ParameterID { id, version }, name, min, max, defaultValue));
    };
    global (effectsOn, "Effects On", 0.0f, 1.0f, 0.5f);
    global (sequencerOn, "Sequencer On", 0.0f, 1.0f, 0.5f);
    global (sequencerLength, "Sequencer Length", 0.0f, 1.0f, 0.5f);
    global (input, "Input", -24.0f, 24.0f, 0.0f);
    global (mix, "Mix", 0.0f, 100.0f, 50.0f);
    global (output, "Output", -24.0f, 24.0f, 0.0f);

    for (int v = 0; v < numVariations; ++v)
        for (int s = 0; s < slotsPerVariation; ++s)
            layout.add (continuous (slotVolumeId (v, s),
                                    "Variation " + juce::String (v + 1) + " Slot " + juce::String (s + 1) + " Volume",
                                    -12.0f, 12.0f, 0.0f));

    for (int n = 0; n < numSounds; ++n)
    {
        const auto soundName = "Sound " + juce::String (n + 1);

        for (int e = 0; e < numEffects; ++e)
        {
            const auto effect = static_cast<Effect> (e);
            const auto& description = effectDescriptions[(size_t) e];
            const auto attributeId = effectAttributeId (n, effect);
            const auto attributeName = soundName + description.attributeLabel;

            if (effect == Effect::echo)
                layout.add (std::make_unique<juce::AudioParameterInt> (juce::ParameterID { attributeId, version }, attributeName,
                                                                       (int) description.attributeMin, (int) description.attributeMax,
                                                                       (int) description.attributeDefault));
            else
                layout.add (continuous (attributeId, attributeName, description.attributeMin,
                                        description.attributeMax, description.attributeDefault));

            layout.add (continuous (effectMixId (n, effect), soundName + description.mixLabel, 0.0f, 100.0f, 0.0f));
        }
    }

    return layout;
}
}
