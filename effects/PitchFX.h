#pragma once

#include "effects/FastRubberBandPitchShifter.h"

#include <juce_dsp/juce_dsp.h>

#include <atomic>

// The first stage of a rack: shifts the sound by -12 to +12 semitones and blends the shifted
// signal with the unshifted one. A new semitone value builds a new shifter.
class PitchFX
{
public:
    void prepare (const juce::dsp::ProcessSpec& spec);

    // Builds a shifter for the current semitones and sample rate; without a supported rate, or
    // when construction fails, the stage passes audio unchanged.
    void rebuildPitchShifter();

    // Returns the shifter to its freshly built state (or rebuilds it when a new pitch is pending).
    void restart();

    // Shifts the block in place and mixes it with the unshifted input at `mix`.
    void process (juce::AudioBuffer<float>& block) noexcept;

    const FastRubberBandPitchShifter* getShifter() const noexcept { return shifter.get(); }

    // Set by the rack.
    float semitones = 0.0f;
    float mix = 0.0f;
    std::atomic<bool> needsRebuild { false };

private:
    std::unique_ptr<FastRubberBandPitchShifter> shifter;
    juce::AudioBuffer<float> dryBuffer, wetBuffer;
    float sampleRate = 44100.0f;
};
