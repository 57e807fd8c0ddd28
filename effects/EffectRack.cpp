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

    constexpr double spacePreDelaySeconds = 0.1;
    constexpr double chorusPreDelaySeconds = 0.05;
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
    chorus.prepare (spec);
    setUpChorus();
}

void EffectRack::reset()
{
    // Everything the preparation allocated stays; only the state is cleared.
    pitch.restart();
    echo.clear();
    space.clear();
    setUpChorus();
}

void EffectRack::setUpChorus()
{
    chorus.setCentreDelay (chorusCentreDelayMs);
    chorus.setDepth (chorusInitialDepth);
    chorus.setRate (chorusRateHz);

    // The chorus starts from the mix parameter's default, 0, rather than the framework's 0.5:
    // otherwise the first note through a fresh rack would fade from half wet to dry. Resetting
    // last makes the smoothed values start at their targets.
    chorus.setMix (0.0f);
    chorus.reset();
}

int EffectRack::getTailSamples() const noexcept
{
    // How long the running stages can stay silent before sound they hold comes out: the echo's
    // delay, the pitch shifter's buffering, the reverb's and chorus's pre-delays.
    const auto seconds = [this] (double s) { return (int) (s * spec.sampleRate); };
    int tail = 0;

    if (pitch.mix >= pitchMinimumMix && pitch.getShifter() != nullptr)
        tail += (int) pitch.getShifter()->getRingCapacity();
    if (echo.getMix() > echoMinimumMix)
        tail += echo.getDelaySamples();
    if (space.getMix() != 0.0f)
        tail += seconds (spacePreDelaySeconds);
    if (chorusMix > 0.0f)
        tail += seconds (chorusPreDelaySeconds);

    return tail;
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
    chorusMix = Parameters::mixFactor (sound.chorusMix->load());
    chorus.setMix (chorusMix);

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
