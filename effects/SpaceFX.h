#pragma once

#include <juce_dsp/juce_dsp.h>

// The third stage of a rack: the framework's reverb run fully wet, blended with the stage's
// input by the space mix.
class SpaceFX
{
public:
    void prepare (const juce::dsp::ProcessSpec& spec);

    // Sets the room size (percent) and the mix (percent) for the next block.
    void update (float sizePercent, float mixPercent) noexcept;

    // Silences the reverb's filter memories.
    void clear() noexcept { reverb.reset(); }

    void process (juce::AudioBuffer<float>& block) noexcept;

    float getMix() const noexcept { return mix; }
    juce::Reverb::Parameters getReverbParameters() const noexcept { return reverb.getParameters(); }

private:
    juce::dsp::Reverb reverb;
    juce::AudioBuffer<float> dryBuffer;
    float mix = 0.0f;
};
