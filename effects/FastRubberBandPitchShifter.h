#pragma once

#include "effects/FloatRing.h"

#include <rubberband/RubberBandStretcher.h>

#include <array>
#include <memory>
#include <vector>

// Rubber Band's real-time stretcher used as a pitch shifter at a time ratio of 1, turned into a
// block-in, block-out process: the shifted stream comes out delayed by the stretcher's latency
// plus a short priming, with silence wherever fewer shifted samples are ready than asked for.
// All buffers are allocated by the constructor; process allocates nothing.
class FastRubberBandPitchShifter
{
public:
    // Throws std::invalid_argument for a sample rate outside 1..384000 Hz or a pitch scale that is
    // not a positive finite number up to 8, and std::runtime_error when the stretcher cannot be made.
    FastRubberBandPitchShifter (juce::uint32 sampleRate, size_t numChannels, float pitchScale);

    // Shifts numSamples samples of the two input channels into the two output channels. A null
    // input reads silence; a null output is skipped. Never throws.
    void process (const float* const* inputChannels, float* const* outputChannels, int numSamples) noexcept;

    // Returns to the state right after construction: everything buffered is dropped and the
    // stretcher is primed again.
    void reset();

    juce::uint32 getSampleRate() const noexcept { return sampleRate; }
    float getPitchScale() const noexcept { return pitchScale; }
    size_t getPrimeLength() const noexcept { return primeLength; }
    size_t getBlockSize() const noexcept { return blockSize; }
    size_t getRingCapacity() const noexcept { return ringCapacity; }
    RubberBand::RubberBandStretcher::Options getOptions() const noexcept { return options; }

    static constexpr int maxBlockLength = 8192;

private:
    static constexpr size_t channels = 2;
    static constexpr size_t maxPortion = 2048;

    void feedSlice (size_t start, size_t length);
    void deliverSlice (size_t start, size_t length) noexcept;

    std::unique_ptr<RubberBand::RubberBandStretcher> stretcher;
    std::array<std::unique_ptr<FloatRing>, channels> outputRings;
    std::array<std::vector<float>, channels> scratch;
    std::vector<float> silence; // what an absent input channel reads: scratch also receives output
    std::array<const float*, channels> cursors {};
    std::array<const float*, channels> inputs {};
    std::array<float*, channels> outputs {};

    juce::uint32 sampleRate = 0;
    size_t numChannels = channels;
    float pitchScale = 1.0f;
    size_t blockSize = 512;
    size_t primeLength = 0;
    size_t ringCapacity = 0;
    RubberBand::RubberBandStretcher::Options options = 0;
};
