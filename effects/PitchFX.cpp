#include "effects/PitchFX.h"

namespace
{
    constexpr float lowestSampleRate = 8000.0f;
    constexpr float highestSampleRate = 192000.0f;
}

void PitchFX::prepare (const juce::dsp::ProcessSpec& spec)
{
    sampleRate = (float) spec.sampleRate;
    rebuildPitchShifter();
    dryBuffer.setSize ((int) spec.numChannels, (int) spec.maximumBlockSize);
    wetBuffer.setSize ((int) spec.numChannels, (int) spec.maximumBlockSize);
}

void PitchFX::rebuildPitchShifter()
{
    if (sampleRate <= 0.0f)
        return;

    shifter.reset();

    const auto ratio = std::pow (2.0f, semitones / 12.0f);
    const auto usable = std::isfinite (ratio) && ratio > 0.1f;

    if (sampleRate < lowestSampleRate || sampleRate > highestSampleRate)
        return;

    const auto pitchScale = ! usable || ratio >= 4.0f ? 1.0f : ratio;

    try
    {
        shifter = std::make_unique<FastRubberBandPitchShifter> ((juce::uint32) sampleRate, 2, pitchScale);
    }
    catch (const std::exception&)
    {
        shifter.reset();
    }
}

void PitchFX::restart()
{
    if (shifter != nullptr && ! needsRebuild.exchange (false))
        shifter->reset();
    else
        rebuildPitchShifter();
}

void PitchFX::process (juce::AudioBuffer<float>& block) noexcept
{
    // A new pitch builds a new shifter here, on the audio thread: the one place where this
    // stage allocates while processing.
    if (needsRebuild.exchange (false))
        rebuildPitchShifter();

    const auto numChannels = block.getNumChannels();
    const auto numSamples = block.getNumSamples();

    if (shifter == nullptr || numChannels == 0)
        return;

    if (numSamples > dryBuffer.getNumSamples())
        dryBuffer.setSize (numChannels, numSamples, false, true);
    if (numSamples > wetBuffer.getNumSamples())
        wetBuffer.setSize (numChannels, numSamples, false, true);

    for (int c = 0; c < numChannels; ++c)
        dryBuffer.copyFrom (c, 0, block, c, 0, numSamples);

    // A mono block feeds its one channel to both inputs and takes the result from channel 0.
    const auto second = numChannels > 1 ? 1 : 0;
    const std::array<const float*, 2> inputs { dryBuffer.getReadPointer (0), dryBuffer.getReadPointer (second) };
    const std::array<float*, 2> outputs { wetBuffer.getWritePointer (0), wetBuffer.getWritePointer (second) };
    shifter->process (inputs.data(), outputs.data(), numSamples);

    block.applyGain (1.0f - mix);
    for (int c = 0; c < numChannels; ++c)
        block.addFrom (c, 0, wetBuffer, c, 0, numSamples, mix);
}
