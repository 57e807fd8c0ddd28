#include "TestSupport.h"

#include "effects/EffectRack.h"

#include <juce_dsp/juce_dsp.h>

using namespace TestSupport;

namespace
{
    juce::dsp::ProcessSpec specAt (double rate, int numChannels = 2, int maximumBlockSize = blockSize)
    {
        return { rate, (juce::uint32) maximumBlockSize, (juce::uint32) numChannels };
    }

    juce::AudioBuffer<float> impulse (int numChannels, int numSamples, float level = 1.0f)
    {
        juce::AudioBuffer<float> audio (numChannels, numSamples);
        audio.clear();
        for (int c = 0; c < numChannels; ++c)
            audio.setSample (c, 0, level);
        return audio;
    }

    juce::AudioBuffer<float> sine (int numChannels, int numSamples, double frequency, double rate, float level = 0.5f)
    {
        juce::AudioBuffer<float> audio (numChannels, numSamples);
        for (int c = 0; c < numChannels; ++c)
            for (int i = 0; i < numSamples; ++i)
                audio.setSample (c, i, level * (float) std::sin (juce::MathConstants<double>::twoPi * frequency * i / rate));
        return audio;
    }

    // Runs `process` over `input` block by block and returns what came out.
    template <typename Process>
    juce::AudioBuffer<float> inBlocks (const juce::AudioBuffer<float>& input, int length, Process&& process)
    {
        juce::AudioBuffer<float> output (input);
        for (int start = 0; start < output.getNumSamples(); start += length)
        {
            juce::AudioBuffer<float> block (output.getArrayOfWritePointers(), output.getNumChannels(), start,
                                            juce::jmin (length, output.getNumSamples() - start));
            process (block);
        }
        return output;
    }

    // The frequency with the most energy in channel c from `start` on, by FFT.
    double dominantFrequency (const juce::AudioBuffer<float>& audio, int channel, int start, double rate)
    {
        constexpr int order = 14;
        constexpr int size = 1 << order;
        juce::dsp::FFT fft (order);
        std::vector<float> data (2 * size, 0.0f);
        juce::dsp::WindowingFunction<float> window (size, juce::dsp::WindowingFunction<float>::hann);

        std::copy_n (audio.getReadPointer (channel, start), size, data.begin());
        window.multiplyWithWindowingTable (data.data(), size);
        fft.performFrequencyOnlyForwardTransform (data.data());

        const auto peak = std::max_element (data.begin() + 1, data.begin() + size / 2) - data.begin();
        return (double) peak * rate / size;
    }

    // A rack of sound 0 driven by a fresh parameter tree.
    struct RackFixture
    {
        explicit RackFixture (double rate = sampleRate, int numChannels = 2)
            : sound (processor.parameters, 0)
        {
            rack.prepare (specAt (rate, numChannels));
        }

        void set (const char* suffix, float rawValue)
        {
            // Written straight into the raw value, so that values outside a parameter's range reach the rack too.
            *processor.parameters.getRawParameterValue (juce::String ("sound_0_") + suffix) = rawValue;
        }

        juce::AudioBuffer<float> run (const juce::AudioBuffer<float>& input)
        {
            return inBlocks (input, blockSize, [this] (juce::AudioBuffer<float>& block)
            {
                rack.updateFromTree (sound);
                rack.process (block);
            });
        }

        TessalineAudioProcessor processor;
        EffectRack::SoundParameters sound;
        EffectRack rack;
    };
}

//==============================================================================
TEST (PitchShifter, SettingsFollowTheSampleRate)
{
    struct Case
    {
        juce::uint32 rate;
        size_t primeLength, blockSize;
        int options;
    };
    const Case cases[] {
        { 44100, 2205, 512, 0x01100201 },
        { 48000, 2400, 512, 0x01100201 },
        { 22050, 1103, 256, 0x00A00101 },
        { 176400, 8820, 1024, 0x00900201 },
        { 96000, 4800, 512, 0x01100201 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.rate);
        FastRubberBandPitchShifter shifter (c.rate, 2, 1.5f);
        EXPECT_EQ (shifter.getPrimeLength(), c.primeLength);
        EXPECT_EQ (shifter.getBlockSize(), c.blockSize);
        EXPECT_EQ (shifter.getRingCapacity(), c.blockSize + c.primeLength + 2048);
        EXPECT_EQ (shifter.getOptions(), c.options);
    }
}

TEST (PitchShifter, RefusesInvalidSettingsWithItsMessage)
{
    for (const auto& [rate, scale] : { std::pair { 0u, 1.0f }, std::pair { 400000u, 1.0f }, std::pair { 48000u, 0.0f },
                                       std::pair { 48000u, 8.5f }, std::pair { 48000u, std::numeric_limits<float>::quiet_NaN() } })
    {
        try
        {
            FastRubberBandPitchShifter shifter (rate, 2, scale);
            ADD_FAILURE() << "accepted " << rate << " Hz at scale " << scale;
        }
        catch (const std::invalid_argument& e)
        {
            EXPECT_STREQ (e.what(), "Invalid parameters for FastRubberBandPitchShifter");
        }
    }
}

TEST (PitchShifter, ShiftsASineByAnOctaveEitherWay)
{
    constexpr double rate = 48000.0, frequency = 440.0;
    const auto input = sine (2, 48000, frequency, rate);

    for (const auto& [semitones, expected] : { std::pair { 12.0f, 880.0 }, std::pair { -12.0f, 220.0 }, std::pair { 0.0f, 440.0 } })
    {
        SCOPED_TRACE (semitones);
        PitchFX pitch;
        pitch.semitones = semitones;
        pitch.mix = 1.0f;
        pitch.prepare (specAt (rate));

        const auto out = inBlocks (input, blockSize, [&pitch] (auto& block) { pitch.process (block); });
        EXPECT_NEAR (dominantFrequency (out, 0, 20000, rate), expected, expected * 0.03);
        EXPECT_NEAR (dominantFrequency (out, 1, 20000, rate), expected, expected * 0.03);
    }
}

TEST (PitchShifter, AMonoBlockIsShiftedFromItsOneChannel)
{
    constexpr double rate = 44100.0;
    PitchFX pitch;
    pitch.semitones = 12.0f;
    pitch.mix = 1.0f;
    pitch.prepare (specAt (rate, 1));

    const auto out = inBlocks (sine (1, 44100, 300.0, rate), 441, [&pitch] (auto& block) { pitch.process (block); });
    EXPECT_NEAR (dominantFrequency (out, 0, 20000, rate), 600.0, 18.0);
}

TEST (PitchShifter, MixesTheDelayedShiftWithTheDryInput)
{
    PitchFX pitch;
    pitch.mix = 0.25f;
    pitch.prepare (specAt (sampleRate));

    // The shifted stream starts with silence, so the first block is the dry part alone.
    const auto input = sine (2, blockSize, 1000.0, sampleRate);
    auto block = input;
    pitch.process (block);
    for (int i = 0; i < blockSize; i += 17)
        EXPECT_FLOAT_EQ (block.getSample (1, i), 0.75f * input.getSample (1, i));
}

TEST (PitchShifter, RebuildsOnlyForAChangeAboveAHundredthOfASemitone)
{
    RackFixture f;
    f.set ("pitch_mix", 50.0f);
    f.set ("pitch_attribute", 3.0f);
    f.run (impulse (2, blockSize));
    const auto scaleAt = [] (float semitones) { return std::pow (2.0f, semitones / 12.0f); };
    ASSERT_NE (f.rack.pitch.getShifter(), nullptr);
    EXPECT_FLOAT_EQ (f.rack.pitch.getShifter()->getPitchScale(), scaleAt (3.0f));

    f.set ("pitch_attribute", 3.005f);
    f.run (impulse (2, blockSize));
    EXPECT_FLOAT_EQ (f.rack.pitch.getShifter()->getPitchScale(), scaleAt (3.0f));

    // With the mix below 0.001 nothing is rebuilt, however the attribute moves...
    f.set ("pitch_mix", 0.09f);
    f.set ("pitch_attribute", 3.02f);
    f.run (impulse (2, blockSize));
    f.set ("pitch_attribute", 5.0f);
    f.run (impulse (2, blockSize));
    EXPECT_FLOAT_EQ (f.rack.pitch.getShifter()->getPitchScale(), scaleAt (3.0f));

    // ... until the mix rises again.
    f.set ("pitch_mix", 0.1f);
    f.run (impulse (2, blockSize));
    EXPECT_FLOAT_EQ (f.rack.pitch.getShifter()->getPitchScale(), scaleAt (5.0f));
}

TEST (PitchShifter, NoShifterAtUnsupportedRates)
{
    PitchFX pitch;
    pitch.mix = 1.0f;
    pitch.prepare (specAt (7000.0));
    EXPECT_EQ (pitch.getShifter(), nullptr);

    const auto input = sine (2, blockSize, 100.0, 7000.0);
    auto block = input;
    pitch.process (block);
    EXPECT_EQ (block.getSample (0, 100), input.getSample (0, 100));
}

//==============================================================================
TEST (Echo, DelayFollowsTheTimeAndTheRate)
{
    struct Case
    {
        double rate;
        float ms;
        int samples;
    };
    const Case cases[] { { 44100, 200, 8820 }, { 44100, 2000, 88200 }, { 44100, 5, 221 }, { 48000, 333, 15984 },
                         { 48000, 0.2f, 48 }, { 48000, 9000, 191999 } };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.ms);
        EchoFX echo;
        echo.prepare (specAt (c.rate));
        echo.update (c.ms, 100.0f);
        EXPECT_EQ (echo.getMaxDelaySamples(), (int) std::lround (c.rate * 4.0));
        EXPECT_EQ (echo.getDelaySamples(), c.samples);
    }
}

TEST (Echo, RepeatsAtTheDelayEach6dBQuieterAndKeepsChannelsApart)
{
    EchoFX echo;
    echo.prepare (specAt (sampleRate));
    echo.update (10.0f, 100.0f);
    ASSERT_EQ (echo.getDelaySamples(), 480);

    auto input = impulse (2, 2000);
    input.setSample (1, 0, 0.0f);
    input.setSample (1, 7, 0.5f);
    const auto out = inBlocks (input, 300, [&echo] (auto& block) { echo.process (block); });

    // With the mix at 1 the dry signal is gone: only the repeats remain.
    const auto repeat = [] (int sinceImpulse)
    {
        return sinceImpulse > 0 && sinceImpulse % 480 == 0 ? std::pow (EchoFX::feedback, (float) (sinceImpulse / 480)) : 0.0f;
    };
    for (int i = 0; i < 2000; ++i)
    {
        ASSERT_FLOAT_EQ (out.getSample (0, i), repeat (i)) << i;
        ASSERT_FLOAT_EQ (out.getSample (1, i), 0.5f * repeat (i - 7)) << i;
    }
}

TEST (Echo, HalfMixKeepsTheDry)
{
    EchoFX echo;
    echo.prepare (specAt (sampleRate, 1));
    echo.update (5.0f, 50.0f);
    const auto out = inBlocks (impulse (1, 1000), blockSize, [&echo] (auto& block) { echo.process (block); });
    EXPECT_FLOAT_EQ (out.getSample (0, 0), 0.5f);
    EXPECT_FLOAT_EQ (out.getSample (0, 240), 0.5f * EchoFX::feedback);
}

//==============================================================================
TEST (Space, FullMixIsTheReverbAloneAndAPartMixBlends)
{
    juce::Reverb::Parameters expected;
    expected.roomSize = 0.8f;
    expected.damping = 0.5f;
    expected.wetLevel = 1.0f;
    expected.dryLevel = 0.0f;
    expected.width = 1.0f;
    expected.freezeMode = 0.0f;

    for (const auto mix : { 100.0f, 30.0f })
    {
        SCOPED_TRACE (mix);
        SpaceFX space;
        space.prepare (specAt (sampleRate));
        space.update (80.0f, mix);

        juce::dsp::Reverb reference;
        reference.prepare (specAt (sampleRate));
        reference.setParameters (expected);

        const auto input = sine (2, 4096, 300.0, sampleRate);
        const auto out = inBlocks (input, blockSize, [&space] (auto& block) { space.process (block); });
        const auto reverb = inBlocks (input, blockSize, [&reference] (auto& block)
        {
            juce::dsp::AudioBlock<float> audio (block);
            reference.process (juce::dsp::ProcessContextReplacing<float> (audio));
        });

        const auto m = mix * 0.01f;
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < 4096; i += 13)
                ASSERT_NEAR (out.getSample (c, i), m * reverb.getSample (c, i) + (1.0f - m) * input.getSample (c, i), 1.0e-6f) << i;
    }
}

TEST (Space, RoomSizeFollowsTheAttribute)
{
    SpaceFX space;
    space.prepare (specAt (sampleRate));
    for (const auto& [attribute, size] : { std::pair { 50.0f, 0.5f }, std::pair { 100.0f, 1.0f }, std::pair { 0.0f, 0.0f }, std::pair { 130.0f, 1.0f } })
    {
        space.update (attribute, 10.0f);
        EXPECT_FLOAT_EQ (space.getReverbParameters().roomSize, size);
        EXPECT_FLOAT_EQ (space.getReverbParameters().wetLevel, 1.0f);
        EXPECT_FLOAT_EQ (space.getReverbParameters().dryLevel, 0.0f);
    }
}

//==============================================================================
TEST (Rack, AllMixesAtZeroPassTheInputFromTheFirstBlock)
{
    RackFixture f;
    const auto input = sine (2, 48000, 220.0, sampleRate);
    const auto out = f.run (input);
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < 48000; i += 7)
            ASSERT_NEAR (out.getSample (c, i), input.getSample (c, i), 1.0e-6f) << i;
}

TEST (Rack, WarmthSaturatesByItsFormula)
{
    for (const auto& [attribute, mixPercent] : { std::pair { 50.0f, 50.0f }, std::pair { 0.0f, 100.0f }, std::pair { 100.0f, 100.0f } })
    {
        SCOPED_TRACE (attribute);
        RackFixture f;
        f.run (impulse (2, 24000, 0.0f)); // silence through the chorus
        f.set ("warmth_attribute", attribute);
        f.set ("warmth_mix", mixPercent);

        juce::AudioBuffer<float> input (2, blockSize);
        for (int i = 0; i < blockSize; ++i)
            for (int c = 0; c < 2; ++c)
                input.setSample (c, i, -1.0f + 2.0f * (float) i / blockSize);
        const auto out = f.run (input);

        const auto drive = 1.0f + 0.04f * attribute, m = mixPercent * 0.01f;
        for (int i = 0; i < blockSize; i += 11)
        {
            const auto x = input.getSample (0, i);
            ASSERT_NEAR (out.getSample (0, i), (1.0f - m) * x + m * std::tanh (drive * x), 1.0e-6f) << i;
            if (m == 1.0f)
            {
                ASSERT_LE (std::abs (out.getSample (0, i)), 1.0f);
            }
        }
    }

    EXPECT_NEAR (0.5f + 0.5f * std::tanh (3.0f), 0.9975f, 1.0e-4f);
}

TEST (Rack, ChorusDepthAndMixFollowTheirParameters)
{
    // At depth 0 and mix 100 the chorus is its centre delay alone: 12 ms.
    RackFixture f;
    f.set ("chorus_attribute", 0.0f);
    f.set ("chorus_mix", 150.0f); // acts as 100
    const auto input = sine (2, 48000, 200.0, sampleRate);
    const auto out = f.run (input);
    for (int i = 30000; i < 48000; i += 101)
        ASSERT_NEAR (out.getSample (0, i), input.getSample (0, i - 576), 1.0e-3f) << i;

    // At depth 1 the delay is modulated: the output leaves the fixed delay.
    RackFixture g;
    g.set ("chorus_attribute", 100.0f);
    g.set ("chorus_mix", 100.0f);
    const auto modulated = g.run (input);
    float largest = 0.0f;
    for (int i = 30000; i < 48000; ++i)
        largest = juce::jmax (largest, std::abs (modulated.getSample (0, i) - input.getSample (0, i - 576)));
    EXPECT_GT (largest, 0.01f);
}

TEST (Rack, StagesRunInOrderAndOnlyAboveTheirThresholds)
{
    // Warmth after echo: the echo of a full-scale impulse is saturated, not the impulse before it.
    RackFixture f;
    f.run (impulse (2, 24000, 0.0f));
    f.set ("echo_attribute", 5.0f);
    f.set ("echo_mix", 100.0f);
    f.set ("warmth_attribute", 100.0f);
    f.set ("warmth_mix", 100.0f);
    const auto out = f.run (impulse (2, blockSize));
    EXPECT_NEAR (out.getSample (0, 240), std::tanh (5.0f * EchoFX::feedback), 1.0e-5f);
    EXPECT_NEAR (out.getSample (0, 0), 0.0f, 1.0e-6f);

    struct Case
    {
        const char* parameter;
        float belowThreshold, atThreshold;
    };
    const Case cases[] { { "echo_mix", 0.01f, 0.02f }, { "space_mix", 0.0f, 0.001f }, { "warmth_mix", 0.0f, 0.001f },
                         { "pitch_mix", 0.09f, 0.1f }, { "echo_mix", -20.0f, 0.02f } };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.parameter);
        const auto input = sine (2, 30000, 500.0, sampleRate, 0.9f);
        RackFixture skipped, running;
        skipped.set ("warmth_attribute", 100.0f);
        running.set ("warmth_attribute", 100.0f);
        skipped.set (c.parameter, c.belowThreshold);
        running.set (c.parameter, c.atThreshold);

        const auto a = skipped.run (input);
        const auto b = running.run (input);
        float difference = 0.0f;
        for (int i = 24000; i < 30000; ++i)
            difference = juce::jmax (difference, std::abs (a.getSample (0, i) - input.getSample (0, i)));
        EXPECT_LT (difference, 1.0e-6f); // skipped: the input passes

        float changed = 0.0f;
        for (int i = 24000; i < 30000; ++i)
            changed = juce::jmax (changed, std::abs (b.getSample (0, i) - input.getSample (0, i)));
        EXPECT_GT (changed, 1.0e-7f); // running: the stage leaves a trace, however small
    }
}

//==============================================================================
TEST (EffectsInTheEngine, DryPathIsDelayedByExactlyTheShiftersPriming)
{
    for (const auto& [rate, latency] : { std::pair { 44100.0, 2205 }, std::pair { 48000.0, 2400 } })
    {
        SCOPED_TRACE (rate);
        TessalineAudioProcessor processor;
        processor.setRateAndBufferSizeDetails (rate, blockSize);
        processor.prepareToPlay (rate, blockSize);
        EXPECT_EQ (processor.engine.getLatencySamples(), latency);
        EXPECT_EQ (processor.getLatencySamples(), 0); // not reported to the host

        TemporaryFolder files;
        processor.loadMainSampleFile (files.writeAudio ("click.wav", impulse (1, 10)));

        juce::AudioBuffer<float> out (2, 6 * blockSize);
        for (int b = 0; b < 6; ++b)
        {
            juce::AudioBuffer<float> block (out.getArrayOfWritePointers(), 2, b * blockSize, blockSize);
            auto midi = b == 0 ? notesAt ({ { 24, 37 } }) : juce::MidiBuffer();
            processor.processBlock (block, midi);
        }

        EXPECT_EQ (out.getMagnitude (0, 37 + latency), 0.0f);
        EXPECT_EQ (out.getSample (0, 37 + latency), 1.0f);
        EXPECT_EQ (out.getSample (1, 37 + latency), 1.0f);
    }
}

namespace
{
    // Variation 2 (sound 1) holds a short burst and echoes it every 20 ms.
    struct EchoingVariation : PreparedProcessor
    {
        EchoingVariation()
        {
            setParameter ("mix", 100.0f);
            setParameter ("sound_1_echo_attribute", 20.0f);
            setParameter ("sound_1_echo_mix", 100.0f);
            processor.loadVariationFile (1, 0, files.writeAudio ("burst.wav", constant ({ 0.5f, 0.5f }, 100)));
            process (notesAt ({ { 60, 0 } }));
        }
    };
}

TEST (EffectsInTheEngine, EchoKeepsAVariationActiveUntilItDiesAway)
{
    EchoingVariation p;
    const auto tail = p.processBlocks (4);
    EXPECT_NEAR (tail.getSample (0, 960 - blockSize + 50), 0.5f * EchoFX::feedback, 1.0e-5f);
    EXPECT_TRUE (p.processor.engine.isVariationActive (1));

    int blocks = 0;
    while (p.processor.engine.isVariationActive (1) && blocks < 1000)
    {
        p.process();
        ++blocks;
    }
    EXPECT_GT (blocks, 10);
    EXPECT_LT (blocks, 1000);
}

TEST (EffectsInTheEngine, SwitchingEffectsOffClearsTheRacks)
{
    EchoingVariation kept, switched;
    kept.processBlocks (2);
    switched.processBlocks (2);

    // Off for a block: the variation is heard dry (its slot has ended, so silence).
    switched.setParameter ("effectsOn", 0.0f);
    EXPECT_EQ (switched.process().getMagnitude (0, blockSize), 0.0f);
    kept.process();

    // Back on: the echo that was ringing is gone; where effects stayed on it still rings.
    switched.setParameter ("effectsOn", 1.0f);
    EXPECT_EQ (switched.processBlocks (4).getMagnitude (0, 4 * blockSize), 0.0f);
    EXPECT_GT (kept.processBlocks (4).getMagnitude (0, 4 * blockSize), 0.001f);

    // A note after the switch echoes again, from block to block.
    switched.processor.parameters.state.getChildWithName ("SequencerState").getChild (2).setProperty ("value", 2, nullptr);
    switched.process (notesAt ({ { 60, 0 } }));
    EXPECT_GT (switched.processBlocks (3).getMagnitude (0, 3 * blockSize), 0.01f);
}

TEST (EffectsInTheEngine, EachRackReadsOnlyItsOwnSound)
{
    PreparedProcessor p;
    p.setParameter ("mix", 100.0f);
    p.setParameter ("sound_4_echo_mix", 100.0f);
    p.processor.loadVariationFile (3, 0, p.files.writeAudio ("a.wav", constant ({ 0.5f, 0.5f }, 100)));
    p.processor.loadVariationFile (4, 0, p.files.writeAudio ("b.wav", constant ({ 0.5f, 0.5f }, 100)));

    auto pattern = p.processor.parameters.state.getChildWithName ("SequencerState");
    pattern.getChild (1).setProperty ("value", 4, nullptr);
    pattern.getChild (2).setProperty ("value", 5, nullptr);

    // Variation 4 (sound 3) is dry; variation 5 (sound 4) is the echo alone.
    const auto dry = p.process (notesAt ({ { 60, 0 } }));
    EXPECT_NEAR (dry.getSample (0, 50), 0.5f, 1.0e-5f);
    p.processBlocks (4);
    const auto echoed = p.process (notesAt ({ { 60, 0 } }));
    EXPECT_NEAR (echoed.getSample (0, 50), 0.0f, 1.0e-5f);
}
