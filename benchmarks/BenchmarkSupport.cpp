// The benchmarks' main: Google Benchmark's usual table, then every benchmark as a ratio to its
// baseline from the same run and, where it stands for audio, as a percentage of real time.

#include "BenchmarkSupport.h"

#include <iostream>
#include <map>

namespace BenchmarkSupport
{
namespace
{
    constexpr auto audioCounter = "audio_s";
    constexpr auto baselinePrefix = "vs ";
}

void describe (benchmark::State& state, const char* baseline, double audioSecondsPerIteration)
{
    if (baseline != nullptr)
        state.SetLabel (std::string (baselinePrefix) + baseline);

    if (audioSecondsPerIteration > 0.0)
        state.counters[audioCounter] = audioSecondsPerIteration;
}

juce::AudioBuffer<float> noise (int numChannels, int numSamples)
{
    juce::Random random (7);
    juce::AudioBuffer<float> audio (numChannels, numSamples);
    for (int c = 0; c < numChannels; ++c)
        for (int i = 0; i < numSamples; ++i)
            audio.setSample (c, i, random.nextFloat() * 0.2f - 0.1f);
    return audio;
}

juce::File writeWav (const juce::File& folder, const juce::String& name, const juce::AudioBuffer<float>& audio,
                     double sampleRate)
{
    const auto file = folder.getChildFile (name);
    file.deleteFile();
    std::unique_ptr<juce::OutputStream> stream = std::make_unique<juce::FileOutputStream> (file);
    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatWriter> writer (
        wav.createWriterFor (stream.get(), sampleRate, (unsigned int) audio.getNumChannels(), 32, {}, 0));
    stream.release();
    writer->writeFromAudioSampleBuffer (audio, 0, audio.getNumSamples());
    return file;
}

void timeBlocks (benchmark::State& state, TessalineAudioProcessor& processor, const juce::MidiBuffer& midi,
                 const char* baseline, double sampleRate)
{
    constexpr int blockSize = 512;
    constexpr int warmUpBlocks = 32;
    juce::AudioBuffer<float> buffer (2, blockSize);
    juce::MidiBuffer blockMidi;

    for (int b = 0; b < warmUpBlocks; ++b)
    {
        blockMidi = midi;
        processor.processBlock (buffer, blockMidi);
    }

    for (auto _ : state)
    {
        blockMidi = midi;
        processor.processBlock (buffer, blockMidi);
        benchmark::DoNotOptimize (buffer.getReadPointer (0));
    }

    describe (state, baseline, blockSize / sampleRate);
}

void enableAllRows (TessalineAudioProcessor& processor)
{
    auto pattern = processor.parameters.state.getChildWithName ("SequencerState");
    for (int row = 0; row < 4; ++row)
        pattern.setProperty ("rowEnabled" + juce::String (row), true, nullptr);
}

TemporaryFolder::TemporaryFolder() : folder (juce::File::createTempFile ("tessaline-bench"))
{
    folder.createDirectory();
}

TemporaryFolder::~TemporaryFolder()
{
    folder.deleteRecursively();
}

PreparedProcessor::PreparedProcessor (double sampleRate, int blockSize)
    : tenSeconds (writeWav (folder.get(), "noise.wav", noise (2, (int) sampleRate * 10), sampleRate))
{
    processor.setRateAndBufferSizeDetails (sampleRate, blockSize);
    processor.prepareToPlay (sampleRate, blockSize);
}

void PreparedProcessor::set (const juce::String& id, float value)
{
    auto* parameter = processor.parameters.getParameter (id);
    parameter->setValueNotifyingHost (parameter->convertTo0to1 (value));
}

namespace
{
    class RatioReporter : public benchmark::ConsoleReporter
    {
    public:
        void ReportRuns (const std::vector<Run>& runs) override
        {
            ConsoleReporter::ReportRuns (runs);
            for (const auto& run : runs)
                if (run.run_type == Run::RT_Iteration || (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median"))
                    results.push_back (run);
        }

        void printRatios() const
        {
            std::cout << "\nCPU time per iteration (the median where repeated) as a ratio to its baseline from this run:\n";

            for (const auto& run : results)
            {
                std::cout << "  " << run.run_name.function_name << ": "
                          << juce::String (toSeconds (run) * 1000.0, 3) << " ms";

                if (run.report_label.rfind (baselinePrefix, 0) == 0)
                    if (const auto* baseline = find (run.report_label.substr (std::string (baselinePrefix).size())))
                        std::cout << ", " << juce::String (toSeconds (run) / toSeconds (*baseline), 2) << "x "
                                  << baseline->run_name.function_name;

                if (const auto audio = run.counters.find (audioCounter); audio != run.counters.end())
                    std::cout << ", " << juce::String (100.0 * toSeconds (run) / audio->second.value, 3) << " % of real time";

                std::cout << "\n";
            }
        }

    private:
        static double toSeconds (const Run& run)
        {
            return run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier (run.time_unit);
        }

        const Run* find (const std::string& name) const
        {
            for (const auto& run : results)
                if (run.run_name.function_name == name)
                    return &run;
            return nullptr;
        }

        std::vector<Run> results;
    };
}
}

int main (int argc, char** argv)
{
    benchmark::Initialize (&argc, argv);
    BenchmarkSupport::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks (&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}
