#include "processor/SampleBinary.h"

namespace SampleBinary
{
juce::MemoryBlock encode (const juce::AudioBuffer<float>& audio)
{
    const auto numChannels = (size_t) audio.getNumChannels();
    const auto numSamples = (size_t) audio.getNumSamples();
    juce::MemoryBlock binary (numChannels * numSamples * sizeof (float));
    auto* out = static_cast<char*> (binary.getData());

    for (size_t frame = 0; frame < numSamples; ++frame)
        for (size_t channel = 0; channel < numChannels; ++channel)
        {
            const auto sample = audio.getSample ((int) channel, (int) frame);
            juce::uint32 bits;
            std::memcpy (&bits, &sample, sizeof (bits));
            bits = juce::ByteOrder::swapIfBigEndian (bits);
            std::memcpy (out, &bits, sizeof (bits));
            out += sizeof (bits);
        }

    return binary;
}

std::unique_ptr<juce::AudioBuffer<float>> decode (const void* data, size_t numBytes, int numChannels, int numSamples)
{
    if (numChannels < 0 || numSamples < 0)
        return {};

    auto audio = std::make_unique<juce::AudioBuffer<float>>();

    try
    {
        // Zeroed on allocation, so the silence of a short binary costs no writes.
        audio->setSize (numChannels, numSamples, false, true);
    }
    catch (const std::bad_alloc&)
    {
        return {};
    }

    // Whole frames and channels only: the sizes are checked as size_t so that nothing overflows.
    const auto totalWords = (size_t) numChannels * (size_t) numSamples;
    const auto availableWords = juce::jmin (totalWords, numBytes / sizeof (float));
    const auto* in = static_cast<const char*> (data);

    for (size_t word = 0; word < availableWords; ++word)
    {
        juce::uint32 bits;
        std::memcpy (&bits, in + word * sizeof (bits), sizeof (bits));
        bits = juce::ByteOrder::swapIfBigEndian (bits);
        float sample;
        std::memcpy (&sample, &bits, sizeof (sample));
        audio->setSample ((int) (word % (size_t) numChannels), (int) (word / (size_t) numChannels), sample);
    }

    return audio;
}

juce::String toBase64 (const juce::MemoryBlock& binary)
{
    return juce::Base64::toBase64 (binary.getData(), binary.getSize());
}

juce::MemoryBlock fromBase64 (const juce::String& text)
{
    juce::MemoryOutputStream decoded;
    juce::Base64::convertFromBase64 (decoded, text);
    return decoded.getMemoryBlock();
}
}
