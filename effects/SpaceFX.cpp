#include "effects/SpaceFX.h"

#include "processor/Parameters.h"

void SpaceFX::prepare (const juce::dsp::ProcessSpec& spec)
{
    reverb.reset();
    reverb.prepare (spec);
    dryBuffer.setSize ((int) spec.numChannels, (int) spec.maximumBlockSize);
}

void SpaceFX::update (float sizePercent, float mixPercent) noexcept
{
    mix = Parameters::mixFactor (mixPercent);

    juce::Reverb::Parameters parameters;
    parameters.roomSize = Parameters::mixFactor (sizePercent);
    parameters.damping = 0.5f;
    parameters.wetLevel = 1.0f;
    parameters.dryLevel = 0.0f;
    parameters.width = 1.0f;
    parameters.freezeMode = 0.0f;
    reverb.setParameters (parameters);
}

void SpaceFX::process (juce::AudioBuffer<float>& block) noexcept
{
    const auto numChannels = block.getNumChannels();
    const auto numSamples = block.getNumSamples();

    dryBuffer.makeCopyOf (block, true);

    if (numChannels == 1 || numChannels == 2)
    {
        juce::dsp::AudioBlock<float> audio (block);
        reverb.process (juce::dsp::ProcessContextReplacing<float> (audio));
    }

    block.applyGain (mix);
    for (int c = 0; c < numChannels; ++c)
        block.addFrom (c, 0, dryBuffer, c, 0, numSamples, 1.0f - mix);
}
