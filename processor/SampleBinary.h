#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <memory>

// Decoded audio as stored in a project: frames in order, each frame's channels in order, every
// sample a 32-bit float written as 4 little-endian bytes. No header; the channel and frame counts
// travel separately.
namespace SampleBinary
{
    juce::MemoryBlock encode (const juce::AudioBuffer<float>& audio);

    // Rebuilds numChannels x numSamples of audio; samples missing at the end of a short binary are
    // silent. Returns null for negative counts, or when the buffer cannot be allocated.
    std::unique_ptr<juce::AudioBuffer<float>> decode (const void* data, size_t numBytes, int numChannels, int numSamples);

    // Base64 with the standard alphabet and padding.
    juce::String toBase64 (const juce::MemoryBlock& binary);

    // Decodes up to the first character that is not Base64.
    juce::MemoryBlock fromBase64 (const juce::String& text);
}
