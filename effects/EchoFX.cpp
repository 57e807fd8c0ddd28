#include "effects/EchoFX.h"

#include "processor/Parameters.h"

void EchoFX::prepare (const juce::dsp::ProcessSpec& spec)
{
    sampleRate = spec.sampleRate;
    numChannels = (int) spec.numChannels;
    maxDelaySamples = (int) std::lround (sampleRate * maxDelaySeconds);

    for (auto* line : { &leftDelay, &rightDelay })
    {
        line->prepare ({ spec.sampleRate, spec.maximumBlockSize, 1 });
        line->setMaximumDelayInSamples (maxDelaySamples);
        line->reset();
    }
}

void EchoFX::update (float timeMs, float mixPercent) noexcept
{
    const auto time = juce::jlimit (1.0, 4000.0, (double) timeMs);
    delaySamples = juce::jmin ((int) std::lround (time * sampleRate * 0.001), maxDelaySamples - 1);
    mix = Parameters::mixFactor (mixPercent);
}

void EchoFX::clear() noexcept
{
    leftDelay.reset();
    rightDelay.reset();
}

void EchoFX::process (juce::AudioBuffer<float>& block) noexcept
{
    const auto channels = block.getNumChannels();
    const auto numSamples = block.getNumSamples();
    if (channels == 0 || numSamples == 0)
        return;

    const auto delay = (float) juce::jmax (0, delaySamples);
    leftDelay.setDelay (delay);
    rightDelay.setDelay (delay);

    for (int i = 0; i < numSamples; ++i)
    {
        for (int c = 0; c < channels; ++c)
        {
            auto& line = (c % 2 == 0) ? leftDelay : rightDelay;
            auto* samples = block.getWritePointer (c);
            const auto x = samples[i];
            const auto d = line.popSample (0);
            line.pushSample (0, (x + d) * feedback);
            samples[i] = (1.0f - mix) * x + mix * d;
        }
    }
}
