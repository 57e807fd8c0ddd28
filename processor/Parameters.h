#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>

// Identifiers of the 110 host parameters. Indices passed to the helpers are zero-based; the
// slot-volume IDs count variations and slots from 1, the effect IDs count sounds from 0.
namespace Parameters
{
    inline constexpr int version = 1;

    inline constexpr auto effectsOn = "effectsOn";
    inline constexpr auto sequencerOn = "sequencerOn";
    inline constexpr auto sequencerLength = "sequencerLength";
    inline constexpr auto input = "input";
    inline constexpr auto mix = "mix";
    inline constexpr auto output = "output";

    inline constexpr int numVariations = 8;
    inline constexpr int slotsPerVariation = 3;
    inline constexpr int numSounds = numVariations;
    inline constexpr int numParameters = 110;

    enum class Effect { pitch, echo, space, chorus, warmth };
    inline constexpr int numEffects = 5;
    inline constexpr std::array<const char*, numEffects> effectNames { "pitch", "echo", "space", "chorus", "warmth" };

    // "variation_<variation+1>_slot_<slot+1>_volume"
    juce::String slotVolumeId (int variation, int slot);

    // "sound_<sound>_<effect>_attribute" and "sound_<sound>_<effect>_mix"
    juce::String effectAttributeId (int sound, Effect effect);
    juce::String effectMixId (int sound, Effect effect);

    // A switch parameter is on from half its range upwards.
    inline bool isSwitchOn (float rawValue) noexcept { return rawValue >= 0.5f; }

    // Decibels to gain, with -100 dB and below as silence.
    inline float decibelsToGain (float decibels) noexcept { return juce::Decibels::decibelsToGain (decibels, -100.0f); }

    // A mix percentage as a factor from 0 to 1.
    inline float mixFactor (float percent) noexcept { return juce::jlimit (0.0f, 1.0f, percent * 0.01f); }

    juce::AudioProcessorValueTreeState::ParameterLayout createParameterLayout();
}
