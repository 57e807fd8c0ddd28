#pragma once

#include <juce_audio_formats/juce_audio_formats.h>

#include <benchmark/benchmark.h>

namespace BenchmarkSupport
{
    // Names the benchmark measured in the same run that this one is compared with (null for a
    // baseline), and the audio time one iteration stands for (0 when it stands for none).
    void describe (benchmark::State& state, const char* baseline, double audioSecondsPerIteration);

    // Reproducible noise, numChannels x numSamples, between -0.1 and 0.1.
    juce::AudioBuffer<float> noise (int numChannels, int numSamples);

    juce::File writeWav (const juce::File& folder, const juce::String& name, const juce::AudioBuffer<float>& audio,
                         double sampleRate = 48000.0);

    class TemporaryFolder
    {
    public:
        TemporaryFolder();
        ~TemporaryFolder();
        const juce::File& get() const noexcept { return folder; }

    private:
        juce::File folder;
    };
}
