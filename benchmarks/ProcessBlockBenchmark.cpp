// processBlock at 48 kHz, 512-sample stereo blocks: idle, the main voice alone, and eight
// variations of three stereo slots sounding together. Each is reported as a percentage of real
// time and as a ratio to a plain buffer-summing baseline measured in the same run.

#include "processor/PluginProcessor.h"

#include <benchmark/benchmark.h>

#include <iostream>
#include <map>

namespace
{
    constexpr double sampleRate = 48000.0;
    constexpr int blockSize = 512;
    constexpr double blockSeconds = blockSize / sampleRate;

    juce::AudioBuffer<float> noise (int numChannels, int numSamples)
    {
        juce::Random random (7);
        juce::AudioBuffer<float> audio (numChannels, numSamples);
        for (int c = 0; c < numChannels; ++c)
            for (int i = 0; i < numSamples; ++i)
                audio.setSample (c, i, random.nextFloat() * 0.2f - 0.1f);
        return audio;
    }

    juce::File writeWav (const juce::File& folder, const juce::String& name, const juce::AudioBuffer<float>& audio)
    {
        const auto file = folder.getChildFile (name);
        file.deleteFile();
        std::unique_ptr<juce::OutputStream> stream = std::make_unique<juce::FileOutputStream> (file);
        juce::WavAudioFormat wav;
        std::unique_ptr<juce::AudioFormatWriter> writer (wav.createWriterFor (stream.get(), sampleRate, (unsigned int) audio.getNumChannels(), 32, {}, 0));
        stream.release();
        writer->writeFromAudioSampleBuffer (audio, 0, audio.getNumSamples());
        return file;
    }

    void reportRealTime (benchmark::State& state)
    {
        // Elapsed time divided by audio time, in percent.
        state.counters["realtime_%"] = benchmark::Counter ((double) state.iterations() * blockSeconds / 100.0,
                                                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    }

    enum class Load { idle, mainVoice, eightVariations };

    void runProcessor (benchmark::State& state, Load load)
    {
        const juce::ScopedJuceInitialiser_GUI juce;
        const auto folder = juce::File::createTempFile ("tessaline-bench");
        folder.createDirectory();

        {
            TessalineAudioProcessor processor;
            processor.setRateAndBufferSizeDetails (sampleRate, blockSize);
            processor.prepareToPlay (sampleRate, blockSize);

            if (load == Load::mainVoice)
                processor.loadMainSampleFile (writeWav (folder, "main.wav", noise (2, (int) sampleRate * 10)));

            if (load == Load::eightVariations)
            {
                const auto slot = writeWav (folder, "slot.wav", noise (2, (int) sampleRate * 10));
                for (int v = 0; v < 8; ++v)
                    for (int s = 0; s < 3; ++s)
                        processor.loadVariationFile (v, s, slot);
            }

            // One note per block: the main voice restarts, and the sequence walks through all
            // eight variations, which keep sounding.
            juce::MidiBuffer note;
            if (load != Load::idle)
                note.addEvent (juce::MidiMessage::noteOn (1, 31, (juce::uint8) 100), 0);

            juce::AudioBuffer<float> buffer (2, blockSize);
            juce::MidiBuffer midi;
            for (int warmUp = 0; warmUp < 16; ++warmUp)
            {
                midi = note;
                processor.processBlock (buffer, midi);
            }

            for (auto _ : state)
            {
                midi = note;
                processor.processBlock (buffer, midi);
                benchmark::DoNotOptimize (buffer.getReadPointer (0));
            }

            reportRealTime (state);
        }

        folder.deleteRecursively();
    }

    // The floor: adding 24 stereo blocks into one buffer at a gain, as a plain loop would.
    void BM_BufferSummingBaseline (benchmark::State& state)
    {
        const auto sources = noise (48, blockSize);
        juce::AudioBuffer<float> sum (2, blockSize);

        for (auto _ : state)
        {
            sum.clear();
            for (int s = 0; s < 24; ++s)
                for (int c = 0; c < 2; ++c)
                    sum.addFrom (c, 0, sources, s * 2 + c, 0, blockSize, 0.9f);
            benchmark::DoNotOptimize (sum.getReadPointer (0));
        }

        reportRealTime (state);
    }

    void BM_ProcessBlockIdle (benchmark::State& state) { runProcessor (state, Load::idle); }
    void BM_ProcessBlockMainVoice (benchmark::State& state) { runProcessor (state, Load::mainVoice); }
    void BM_ProcessBlockEightVariations (benchmark::State& state) { runProcessor (state, Load::eightVariations); }

    BENCHMARK (BM_BufferSummingBaseline);
    BENCHMARK (BM_ProcessBlockIdle);
    BENCHMARK (BM_ProcessBlockMainVoice);
    BENCHMARK (BM_ProcessBlockEightVariations);

    // Prints the usual table, then every benchmark's time as a ratio to the baseline.
    class RatioReporter : public benchmark::ConsoleReporter
    {
    public:
        void ReportRuns (const std::vector<Run>& runs) override
        {
            ConsoleReporter::ReportRuns (runs);
            for (const auto& run : runs)
                if (run.run_type == Run::RT_Iteration)
                    cpuTimes[run.benchmark_name()] = run.GetAdjustedCPUTime();
        }

        void printRatios() const
        {
            const auto baseline = cpuTimes.find ("BM_BufferSummingBaseline");
            if (baseline == cpuTimes.end())
                return;

            std::cout << "\nCPU time per block, as a ratio to the buffer-summing baseline:\n";
            for (const auto& [name, time] : cpuTimes)
                std::cout << "  " << name << ": " << juce::String (time / baseline->second, 2) << "x, "
                          << juce::String (100.0 * time * 1.0e-9 / blockSeconds, 3) << " % of real time\n";
        }

    private:
        std::map<std::string, double> cpuTimes;
    };
}

int main (int argc, char** argv)
{
    benchmark::Initialize (&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks (&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}
