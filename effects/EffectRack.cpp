#include "effects/EffectRack.h"

#include "processor/Parameters.h"

namespace
{
    constexpr float pitchRebuildThreshold = 0.01f; // semitones
    constexpr float pitchMinimumMix = 0.001f;
    constexpr float echoMinimumMix = 0.0001f;

    constexpr float chorusCentreDelayMs = 12.0f;
    constexpr float chorusInitialDepth = 0.5f;
    constexpr float chorusRateHz = 0.8f;

    constexpr float warmthDrivePerPercent = 0.04f;
}

EffectRack::SoundParameters::SoundParameters (juce::AudioProcessorValueTreeState& parameters, int sound)
{
    using Parameters::Effect;
    const auto attribute = [&] (Effect e) { return parameters.getRawParameterValue (Parameters::effectAttributeId (sound, e)); };
    const auto mix = [&] (Effect e) { return parameters.getRawParameterValue (Parameters::effectMixId (sound, e)); };

    pitchAttribute = attribute (Effect::pitch);
    pitchMix = mix (Effect::pitch);
    echoAttribute = attribute (Effect::echo);
    echoMix = mix (Effect::echo);
    spaceAttribute = attribute (Effect::space);
    spaceMix = mix (Effect::space);
    chorusAttribute = attribute (Effect::chorus);
    chorusMix = mix (Effect::chorus);
    warmthAttribute = attribute (Effect::warmth);
    warmthMix = mix (Effect::warmth);
}

void EffectRack::prepare (const juce::dsp::ProcessSpec& newSpec)
{
    spec = newSpec;
    pitch.prepare (spec);
    echo.prepare (spec);
    space.prepare (spec);
    chorus.reset();
    chorus.prepare (spec);
    setUpChorus();
}

void EffectRack::reset()
{
    // Everything the preparation allocated stays; only the state is cleared.
    pitch.restart();
    echo.clear();
    space.clear();
    chorus.reset();
    setUpChorus();
}

void EffectRack::setUpChorus()
{
    chorus.setCentreDelay (chorusCentreDelayMs);
    chorus.setDepth (chorusInitialDepth);
    chorus.setRate (chorusRateHz);
}

void EffectRack::updateFromTree (const SoundParameters& sound) noexcept
{
    const auto semitones = sound.pitchAttribute->load();
    if (std::abs (semitones - pitch.semitones) > pitchRebuildThreshold)
    {
        pitch.semitones = semitones;
        pitch.needsRebuild = true;
    }
    pitch.mix = Parameters::mixFactor (sound.pitchMix->load());

    echo.update (sound.echoAttribute->load(), sound.echoMix->load());
    space.update (sound.spaceAttribute->load(), sound.spaceMix->load());

    chorus.setDepth (Parameters::mixFactor (sound.chorusAttribute->load()));
    chorus.setMix (Parameters::mixFactor (sound.chorusMix->load()));

    warmthDrive = 1.0f + warmthDrivePerPercent * sound.warmthAttribute->load();
    warmthMix = Parameters::mixFactor (sound.warmthMix->load());
}

void EffectRack::process (juce::AudioBuffer<float>& block) noexcept
{
    if (pitch.mix >= pitchMinimumMix)
        pitch.process (block);

    if (echo.getMix() > echoMinimumMix)
        echo.process (block);

    if (space.getMix() != 0.0f)
        space.process (block);

    juce::dsp::AudioBlock<float> audio (block);
    chorus.process (juce::dsp::ProcessContextReplacing<float> (audio));

    if (warmthMix != 0.0f)
        for (int c = 0; c < block.getNumChannels(); ++c)
        {
            auto* samples = block.getWritePointer (c);
            for (int i = 0; i < block.getNumSamples(); ++i)
                samples[i] = (1.0f - warmthMix) * samples[i] + warmthMix * std::tanh (warmthDrive * samples[i]);
        }
}
