#pragma once

#include <juce_core/juce_core.h>

#include <vector>

// A single-reader, single-writer ring of floats, allocated once.
class FloatRing
{
public:
    explicit FloatRing (int capacity)
        : fifo (capacity + 1), samples ((size_t) capacity + 1, 0.0f)
    {
    }

    int getReadSpace() const noexcept { return fifo.getNumReady(); }
    int getWriteSpace() const noexcept { return fifo.getFreeSpace(); }

    // Writes up to numSamples samples; returns how many fitted.
    int write (const float* source, int numSamples) noexcept
    {
        const auto scope = fifo.write (juce::jmin (numSamples, getWriteSpace()));
        std::copy (source, source + scope.blockSize1, samples.data() + scope.startIndex1);
        std::copy (source + scope.blockSize1, source + scope.blockSize1 + scope.blockSize2, samples.data() + scope.startIndex2);
        return scope.blockSize1 + scope.blockSize2;
    }

    // Reads up to numSamples samples; returns how many were there.
    int read (float* destination, int numSamples) noexcept
    {
        const auto scope = fifo.read (juce::jmin (numSamples, getReadSpace()));
        std::copy_n (samples.data() + scope.startIndex1, scope.blockSize1, destination);
        std::copy_n (samples.data() + scope.startIndex2, scope.blockSize2, destination + scope.blockSize1);
        return scope.blockSize1 + scope.blockSize2;
    }

    void clear() noexcept { fifo.reset(); }

private:
    juce::AbstractFifo fifo;
    std::vector<float> samples;
};
