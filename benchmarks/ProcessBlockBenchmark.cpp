// processBlock at 48 kHz, 512-sample stereo blocks: idle, the main voice alone, and eight
// variations of three stereo slots sounding together (with the effects switch at its default,
// on with every mix at 0, so that only the chorus runs; and switched off), compared with a plain
// buffer-summing baseline.

#include "processor/PluginProcessor.h"

#include "BenchmarkSupport.h"

namespace
{
    constexpr double sampleRate = 48000.0;
    constexpr int blockSize = 512;
    constexpr double blockSeconds = blockSize / sampleRate;
    constexpr auto baseline = "BM_BufferSummingBaseline";

    enum class Load { idle, mainVoice, eightVariations, eightDryVariations };

    void runProcessor (benchmark::State& state, Load load)
    {
        BenchmarkSupport::PreparedProcessor prepared (sampleRate, blockSize);
        auto& processor = prepared.processor;

        if (load == Load::mainVoice)
            processor.loadMainSampleFile (prepared.tenSeconds);

        if (load == Load::eightDryVariations)
            prepared.set ("effectsOn", 0.0f);

        if (load == Load::eightVariations || load == Load::eightDryVariations)
            for (int v = 0; v < 8; ++v)
                for (int s = 0; s < 3; ++s)
                    processor.loadVariationFile (v, s, prepared.tenSeconds);

        // One note per block: the main voice restarts, and the sequence walks through all eight
        // variations, which keep sounding.
        juce::MidiBuffer note;
        if (load != Load::idle)
        {
            note.addEvent (juce::MidiMessage::noteOn (1, 31, (juce::uint8) 100), 0);
            BenchmarkSupport::enableAllRows (processor);
        }

        BenchmarkSupport::timeBlocks (state, processor, note, baseline, sampleRate);
    }

    // The floor: adding 24 stereo blocks into one buffer at a gain, as a plain loop would.
    void BM_BufferSummingBaseline (benchmark::State& state)
    {
        const auto sources = BenchmarkSupport::noise (48, blockSize);
        juce::AudioBuffer<float> sum (2, blockSize);

        for (auto _ : state)
        {
            sum.clear();
            for (int s = 0; s < 24; ++s)
                for (int c = 0; c < 2; ++c)
                    sum.addFrom (c, 0, sources, s * 2 + c, 0, blockSize, 0.9f);
            benchmark::DoNotOptimize (sum.getReadPointer (0));
        }

        BenchmarkSupport::describe (state, nullptr, blockSeconds);
    }

    void BM_ProcessBlockIdle (benchmark::State& state) { runProcessor (state, Load::idle); }
    void BM_ProcessBlockMainVoice (benchmark::State& state) { runProcessor (state, Load::mainVoice); }
    void BM_ProcessBlockEightVariations (benchmark::State& state) { runProcessor (state, Load::eightVariations); }
    void BM_ProcessBlockEightVariationsEffectsOff (benchmark::State& state) { runProcessor (state, Load::eightDryVariations); }
}

BENCHMARK (BM_BufferSummingBaseline);
BENCHMARK (BM_ProcessBlockIdle);
BENCHMARK (BM_ProcessBlockMainVoice);
BENCHMARK (BM_ProcessBlockEightVariations);
BENCHMARK (BM_ProcessBlockEightVariationsEffectsOff);
