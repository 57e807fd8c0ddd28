// The effect racks at full load: eight variations of three stereo slots, every effect switched in,
// against the floor of the same library DSP run bare on the same blocks. Also the cost of the
// effects switch's reset of all eight racks, on the audio thread.

#include "processor/PluginProcessor.h"

#include "BenchmarkSupport.h"

namespace
{
    constexpr double sampleRate = 48000.0;
    constexpr int blockSize = 512;
    constexpr double blockSeconds = blockSize / sampleRate;
    constexpr float semitones = 7.0f;
    constexpr auto floorName = "BM_EffectsLibraryFloor";

    void BM_EffectsFullLoad (benchmark::State& state)
    {
        BenchmarkSupport::PreparedProcessor prepared (sampleRate, blockSize);
        auto& processor = prepared.processor;

        for (int v = 0; v < 8; ++v)
        {
            for (int s = 0; s < 3; ++s)
                processor.loadVariationFile (v, s, prepared.tenSeconds);

            const auto sound = "sound_" + juce::String (v) + "_";
            prepared.set (sound + "pitch_attribute", semitones);
            for (const auto* effect : { "pitch", "echo", "space", "chorus", "warmth" })
                prepared.set (sound + effect + "_mix", 40.0f);
        }

        // One note per block walks through the eight variations, which keep sounding.
        BenchmarkSupport::enableAllRows (processor);
        juce::MidiBuffer note;
        note.addEvent (juce::MidiMessage::noteOn (1, 31, (juce::uint8) 100), 0);
        BenchmarkSupport::timeBlocks (state, processor, note, floorName, sampleRate);
    }

    // The same DSP as eight racks, from the libraries directly: a Rubber Band stretcher with the
    // rack's options, a reverb, a chorus, two echo lines and a tanh saturator per sound.
    struct BareSound
    {
        BareSound()
        {
            using Stretcher = RubberBand::RubberBandStretcher;
            stretcher = std::make_unique<Stretcher> ((size_t) sampleRate, 2,
                                                     Stretcher::OptionProcessRealTime | Stretcher::OptionTransientsSmooth
                                                         | Stretcher::OptionWindowShort | Stretcher::OptionFormantPreserved);
            stretcher->setPitchScale (std::pow (2.0, semitones / 12.0));

            const juce::dsp::ProcessSpec stereo { sampleRate, (juce::uint32) blockSize, 2 };
            reverb.prepare (stereo);
            chorus.prepare (stereo);
            chorus.setMix (0.4f);
            for (auto* line : { &left, &right })
            {
                line->prepare ({ sampleRate, (juce::uint32) blockSize, 1 });
                line->setMaximumDelayInSamples ((int) sampleRate * 4);
                line->setDelay (9600.0f);
            }
            shifted.setSize (2, blockSize);
        }

        void process (juce::AudioBuffer<float>& block)
        {
            stretcher->process (block.getArrayOfReadPointers(), (size_t) blockSize, false);
            const auto ready = juce::jmin (stretcher->available(), blockSize);
            if (ready > 0)
                stretcher->retrieve (shifted.getArrayOfWritePointers(), (size_t) ready);

            for (int i = 0; i < blockSize; ++i)
                for (int c = 0; c < 2; ++c)
                {
                    auto& line = c == 0 ? left : right;
                    const auto x = block.getSample (c, i) + 0.4f * shifted.getSample (c, i);
                    const auto d = line.popSample (0);
                    line.pushSample (0, (x + d) * 0.5f);
                    block.setSample (c, i, x + 0.4f * d);
                }

            juce::dsp::AudioBlock<float> audio (block);
            reverb.process (juce::dsp::ProcessContextReplacing<float> (audio));
            chorus.process (juce::dsp::ProcessContextReplacing<float> (audio));

            for (int c = 0; c < 2; ++c)
            {
                auto* samples = block.getWritePointer (c);
                for (int i = 0; i < blockSize; ++i)
                    samples[i] = 0.6f * samples[i] + 0.4f * std::tanh (3.0f * samples[i]);
            }
        }

        std::unique_ptr<RubberBand::RubberBandStretcher> stretcher;
        juce::AudioBuffer<float> shifted;
        juce::dsp::Reverb reverb;
        juce::dsp::Chorus<float> chorus;
        juce::dsp::DelayLine<float, juce::dsp::DelayLineInterpolationTypes::Linear> left { 0 }, right { 0 };
    };

    void BM_EffectsLibraryFloor (benchmark::State& state)
    {
        std::vector<std::unique_ptr<BareSound>> sounds;
        for (int n = 0; n < 8; ++n)
            sounds.push_back (std::make_unique<BareSound>());

        const auto source = BenchmarkSupport::noise (2, blockSize);
        juce::AudioBuffer<float> block (2, blockSize);

        for (auto _ : state)
            for (auto& sound : sounds)
            {
                block.makeCopyOf (source, true);
                sound->process (block);
                benchmark::DoNotOptimize (block.getReadPointer (0));
            }

        BenchmarkSupport::describe (state, nullptr, blockSeconds);
    }

    // The effects switch going off: all eight racks cleared, as the audio thread does it.
    void BM_EffectsOffReset (benchmark::State& state)
    {
        std::array<EffectRack, 8> racks;
        for (auto& rack : racks)
            rack.prepare ({ sampleRate, (juce::uint32) blockSize, 2 });

        for (auto _ : state)
            for (auto& rack : racks)
                rack.reset();

        BenchmarkSupport::describe (state, "BM_EightShifterRebuilds", blockSeconds);
    }

    // What the reset would cost if it built every shifter anew.
    void BM_EightShifterRebuilds (benchmark::State& state)
    {
        std::array<PitchFX, 8> stages;
        for (auto& stage : stages)
            stage.prepare ({ sampleRate, (juce::uint32) blockSize, 2 });

        for (auto _ : state)
            for (auto& stage : stages)
                stage.rebuildPitchShifter();

        BenchmarkSupport::describe (state, nullptr, blockSeconds);
    }
}

BENCHMARK (BM_EffectsLibraryFloor);
BENCHMARK (BM_EffectsFullLoad);
BENCHMARK (BM_EightShifterRebuilds)->Unit (benchmark::kMillisecond);
BENCHMARK (BM_EffectsOffReset)->Unit (benchmark::kMillisecond);
