// Saving and restoring a full project: a 10-second stereo main sample and 24 loaded 10-second
// stereo slots at 48 kHz, compared with Base64-encoding and decoding the same sample bytes.

#include "processor/PluginProcessor.h"
#include "processor/SampleBinary.h"

#include "BenchmarkSupport.h"

namespace
{
    constexpr double sampleRate = 48000.0;
    constexpr int numSamples = (int) sampleRate * 10;

    // A loaded project, built by each benchmark before it starts timing.
    struct Project
    {
        Project()
        {
            for (int i = 0; i < 25; ++i)
                files.add (BenchmarkSupport::writeWav (folder.get(), "sample" + juce::String (i) + ".wav",
                                                       BenchmarkSupport::noise (2, numSamples)));

            processor.loadMainSampleFile (files[24]);
            for (int v = 0; v < 8; ++v)
                for (int s = 0; s < 3; ++s)
                    processor.loadVariationFile (v, s, files[v * 3 + s]);

            processor.getStateInformation (saved);

            for (const auto& file : files)
                sampleBinaries.push_back (SampleBinary::encode (*SampleSlots::decodeFile (file)));
        }

        const juce::ScopedJuceInitialiser_GUI juce;
        BenchmarkSupport::TemporaryFolder folder;
        juce::Array<juce::File> files;
        TessalineAudioProcessor processor;
        juce::MemoryBlock saved;
        std::vector<juce::MemoryBlock> sampleBinaries;
    };

    void BM_Base64EncodeSamples (benchmark::State& state)
    {
        Project p;
        for (auto _ : state)
            for (const auto& binary : p.sampleBinaries)
                benchmark::DoNotOptimize (SampleBinary::toBase64 (binary));

        BenchmarkSupport::describe (state, nullptr, 0.0);
    }

    void BM_Base64DecodeSamples (benchmark::State& state)
    {
        Project p;
        std::vector<juce::String> texts;
        for (const auto& binary : p.sampleBinaries)
            texts.push_back (SampleBinary::toBase64 (binary));

        for (auto _ : state)
            for (const auto& text : texts)
                benchmark::DoNotOptimize (SampleBinary::fromBase64 (text));

        BenchmarkSupport::describe (state, nullptr, 0.0);
    }

    void BM_SaveState (benchmark::State& state)
    {
        Project p;
        for (auto _ : state)
        {
            juce::MemoryBlock blob;
            p.processor.getStateInformation (blob);
            benchmark::DoNotOptimize (blob.getData());
        }

        BenchmarkSupport::describe (state, "BM_Base64EncodeSamples", 0.0);
    }

    // The slot files still exist: each slot is decoded from its file, once.
    void BM_RestoreStateWithFiles (benchmark::State& state)
    {
        Project p;
        for (auto _ : state)
            p.processor.setStateInformation (p.saved.getData(), (int) p.saved.getSize());

        BenchmarkSupport::describe (state, "BM_Base64DecodeSamples", 0.0);
    }

    // The files have moved: every slot comes back from the audio stored in the state.
    void BM_RestoreStateFromStoredAudio (benchmark::State& state)
    {
        Project p;
        const juce::File moved (p.folder.get().getSiblingFile (p.folder.get().getFileName() + "-moved"));
        p.folder.get().moveFileTo (moved);

        for (auto _ : state)
            p.processor.setStateInformation (p.saved.getData(), (int) p.saved.getSize());

        moved.moveFileTo (p.folder.get());
        BenchmarkSupport::describe (state, "BM_Base64DecodeSamples", 0.0);
    }
}

BENCHMARK (BM_Base64EncodeSamples)->Unit (benchmark::kMillisecond)->Iterations (5);
BENCHMARK (BM_Base64DecodeSamples)->Unit (benchmark::kMillisecond)->Iterations (5);
BENCHMARK (BM_SaveState)->Unit (benchmark::kMillisecond)->Iterations (5);
BENCHMARK (BM_RestoreStateWithFiles)->Unit (benchmark::kMillisecond)->Iterations (5);
BENCHMARK (BM_RestoreStateFromStoredAudio)->Unit (benchmark::kMillisecond)->Iterations (5);
