#pragma once

#include "effects/EchoFX.h"
#include "effects/PitchFX.h"
#include "effects/SpaceFX.h"

#include <juce_audio_processors/juce_audio_processors.h>

// One sound's chain of five effects: pitch, echo, space, chorus and warmth, in that order, each
// working in place on the block the previous one left.
class EffectRack
{
public:
    // The raw values of one sound's ten parameters, looked up once.
    struct SoundParameters
    {
        SoundParameters (juce::AudioProcessorValueTreeState& parameters, int sound);

        std::atomic<float>* pitchAttribute;
        std::atomic<float>* pitchMix;
        std::atomic<float>* echoAttribute;
        std::atomic<float>* echoMix;
        std::atomic<float>* spaceAttribute;
        std::atomic<float>* spaceMix;
        std::atomic<float>* chorusAttribute;
        std::atomic<float>* chorusMix;
        std::atomic<float>* warmthAttribute;
        std::atomic<float>* warmthMix;
    };

    // Prepares every effect for the host's rate, block size and channel count.
    void prepare (const juce::dsp::ProcessSpec& newSpec);

    // Clears every effect's state (delay lines, reverb, chorus, pitch shifter) without allocating,
    // apart from a pitch shifter whose new pitch is still pending.
    void reset();

    // Reads the sound's parameters and applies them; called once per processed block.
    void updateFromTree (const SoundParameters& sound) noexcept;

    void process (juce::AudioBuffer<float>& block) noexcept;

    // How many samples of silence the rack may put out, with its current settings, before what it
    // still holds comes out.
    int getTailSamples() const noexcept;

    PitchFX pitch;
    EchoFX echo;
    SpaceFX space;
    juce::dsp::Chorus<float> chorus;
    float warmthDrive = 1.0f;
    float warmthMix = 0.0f;
    float chorusMix = 0.0f;
    juce::dsp::ProcessSpec spec { 0.0, 0, 0 };

private:
    void setUpChorus();
};
