#include "effects/FastRubberBandPitchShifter.h"

#include <cmath>
#include <stdexcept>

namespace
{
    using Stretcher = RubberBand::RubberBandStretcher;

    // How far the stretcher is primed with silence, in seconds, and the bounds of that length.
    constexpr double primeSeconds = 0.05;
    constexpr double shortestPrimeSeconds = 0.02;
    constexpr double longestPrimeSeconds = 0.1;
    constexpr size_t maxPrimingPass = 512;
    constexpr size_t minimumPortion = 64;
    constexpr size_t spareRingSpace = 2048;

    Stretcher::Options optionsFor (juce::uint32 sampleRate)
    {
        if (sampleRate < 32000)
            return Stretcher::OptionProcessRealTime | Stretcher::OptionTransientsMixed
                   | Stretcher::OptionWindowLong | Stretcher::OptionSmoothingOn;

        if (sampleRate <= 96000)
            return Stretcher::OptionProcessRealTime | Stretcher::OptionTransientsSmooth
                   | Stretcher::OptionWindowShort | Stretcher::OptionFormantPreserved;

        return Stretcher::OptionProcessRealTime | Stretcher::OptionTransientsSmooth
               | Stretcher::OptionWindowShort | Stretcher::OptionSmoothingOn;
    }

    size_t blockSizeFor (juce::uint32 sampleRate)
    {
        return sampleRate < 32000 ? 256 : (sampleRate <= 96000 ? 512 : 1024);
    }
}

FastRubberBandPitchShifter::FastRubberBandPitchShifter (juce::uint32 rate, size_t, float scale)
    : sampleRate (rate), pitchScale (scale)
{
    primeLength = (size_t) (primeSeconds * sampleRate + 0.5);

    if (sampleRate < 1 || sampleRate > 384000 || ! std::isfinite (pitchScale) || pitchScale <= 0.0f || pitchScale > 8.0f)
        throw std::invalid_argument ("Invalid parameters for FastRubberBandPitchShifter");

    primeLength = juce::jmax ((size_t) (shortestPrimeSeconds * sampleRate),
                              juce::jmin (primeLength, (size_t) (longestPrimeSeconds * sampleRate)));
    blockSize = blockSizeFor (sampleRate);
    options = optionsFor (sampleRate);

    try
    {
        stretcher = std::make_unique<Stretcher> (sampleRate, channels, options, 1.0, 1.0);
    }
    catch (...)
    {
        throw std::runtime_error ("RubberBandStretcher initialization failed");
    }

    if (stretcher == nullptr)
        throw std::runtime_error ("Failed to create RubberBandStretcher");

    stretcher->setPitchScale (pitchScale);

    ringCapacity = blockSize + primeLength + spareRingSpace;
    for (size_t c = 0; c < channels; ++c)
    {
        outputRings[c] = std::make_unique<FloatRing> ((int) ringCapacity);
        scratch[c].assign (ringCapacity, 0.0f);
    }
    silence.assign (maxPortion, 0.0f);

    reset();
}

void FastRubberBandPitchShifter::reset()
{
    stretcher->reset();
    stretcher->setPitchScale (pitchScale);

    for (size_t c = 0; c < channels; ++c)
    {
        outputRings[c]->clear();
        std::fill (scratch[c].begin(), scratch[c].end(), 0.0f);
    }

    // Priming with silence; what comes out is delivered by later calls.
    const std::array<const float*, channels> primer { scratch[0].data(), scratch[1].data() };
    stretcher->process (primer.data(), juce::jmin (primeLength, maxPrimingPass), false);
}

void FastRubberBandPitchShifter::process (const float* const* inputChannels, float* const* outputChannels, int numSamples) noexcept
{
    for (size_t c = 0; c < channels; ++c)
    {
        inputs[c] = inputChannels[c];
        outputs[c] = outputChannels[c];
    }

    if (numSamples < 1 || numSamples > maxBlockLength || stretcher == nullptr)
    {
        for (auto* output : outputs)
            if (output != nullptr)
                std::fill_n (output, juce::jmax (0, numSamples), 0.0f);
        return;
    }

    for (size_t start = 0; start < (size_t) numSamples; start += blockSize)
    {
        const auto length = juce::jmin ((size_t) numSamples - start, blockSize);
        feedSlice (start, length);
        deliverSlice (start, length);
    }
}

void FastRubberBandPitchShifter::feedSlice (size_t start, size_t length)
{
    size_t fed = 0;

    while (fed < length)
    {
        const auto left = length - fed;
        size_t required;

        try
        {
            required = stretcher->getSamplesRequired();
        }
        catch (...)
        {
            required = juce::jmin (left, maxPrimingPass);
        }

        const auto take = required > 0 ? juce::jmin (required, left, maxPortion) : juce::jmin (left, minimumPortion);

        try
        {
            for (size_t c = 0; c < channels; ++c)
                cursors[c] = inputs[c] != nullptr ? inputs[c] + start + fed : silence.data();

            stretcher->process (cursors.data(), take, false);

            const auto available = stretcher->available();
            if (available > 0 && outputRings[0] != nullptr)
            {
                const auto count = juce::jmin ((size_t) available, (size_t) outputRings[0]->getWriteSpace(), maxPortion);
                if (count > 0)
                {
                    const std::array<float*, channels> targets { scratch[0].data(), scratch[1].data() };
                    const auto retrieved = stretcher->retrieve (targets.data(), count);

                    for (size_t c = 0; c < channels; ++c)
                        outputRings[c]->write (scratch[c].data(), (int) retrieved);
                }
            }
        }
        catch (...)
        {
            // The portion's remaining work is dropped; its samples count as fed.
        }

        fed += take;
    }
}

void FastRubberBandPitchShifter::deliverSlice (size_t start, size_t length) noexcept
{
    for (size_t c = 0; c < channels; ++c)
    {
        if (outputRings[c] == nullptr || outputs[c] == nullptr)
            continue;

        auto* destination = outputs[c] + start;
        const auto got = (size_t) outputRings[c]->read (destination, (int) length);
        std::fill (destination + got, destination + length, 0.0f);
    }
}
