#pragma once

#include "processor/PluginProcessor.h"

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

    // Times processBlock on 512-sample stereo blocks, each with `midi` (after a warm-up), and
    // describes the run against `baseline`.
    void timeBlocks (benchmark::State& state, TessalineAudioProcessor& processor, const juce::MidiBuffer& midi,
                     const char* baseline, double sampleRate);

    // Lets the sequencer walk through all 32 steps.
    void enableAllRows (TessalineAudioProcessor& processor);

    class TemporaryFolder
    {
    public:
        TemporaryFolder();
        ~TemporaryFolder();
        const juce::File& get() const noexcept { return folder; }

    private:
        juce::File folder;
    };

    // A processor prepared for stereo blocks, with ten seconds of stereo noise on disk to load.
    struct PreparedProcessor
    {
        PreparedProcessor (double sampleRate, int blockSize);

        // Sets a parameter in its own units, as the host would.
        void set (const juce::String& id, float value);

        const juce::ScopedJuceInitialiser_GUI juce;
        const TemporaryFolder folder;
        const juce::File tenSeconds;
        TessalineAudioProcessor processor;
    };
}
