#pragma once

#include <juce_dsp/juce_dsp.h>

// The second stage of a rack: a feedback echo with a fixed feedback of -6 dB. Even channels share
// one delay line and odd channels another, so left and right echoes stay apart.
class EchoFX
{
public:
    void prepare (const juce::dsp::ProcessSpec& spec);

    // Sets the echo time (milliseconds) and the mix (percent) for the next block.
    void update (float timeMs, float mixPercent) noexcept;

    // Empties both delay lines.
    void clear() noexcept;

    void process (juce::AudioBuffer<float>& block) noexcept;

    int getDelaySamples() const noexcept { return delaySamples; }
    int getMaxDelaySamples() const noexcept { return maxDelaySamples; }
    float getMix() const noexcept { return mix; }

    static constexpr float feedback = 0.50118723f; // -6 dB: 10^(-0.3)

private:
    using Line = juce::dsp::DelayLine<float, juce::dsp::DelayLineInterpolationTypes::Linear>;

    static constexpr double maxDelaySeconds = 4.0;

    double sampleRate = 44100.0;
    int numChannels = 2;
    int maxDelaySamples = 0;
    int delaySamples = 2200;
    float mix = 0.0f;
    Line leftDelay { 0 }, rightDelay { 0 };
};
