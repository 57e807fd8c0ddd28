#include "TestSupport.h"

using namespace TestSupport;

namespace
{
    // The engine with the effect racks switched off, so that variations sound dry. The main
    // sample's dry path is still delayed by the pitch shifter's priming, `latency` samples.
    struct DryEngine : PreparedProcessor
    {
        explicit DryEngine (int numChannels = 2) : PreparedProcessor (numChannels)
        {
            setParameter ("effectsOn", 0.0f);
        }

        int latency() const { return processor.engine.getLatencySamples(); }

        // Enough blocks to hear `numSamples` samples of the main voice after the delay.
        juce::AudioBuffer<float> processDelayed (int numSamples, const juce::MidiBuffer& firstBlockMidi = {})
        {
            return processBlocks ((latency() + numSamples + blockSize - 1) / blockSize, firstBlockMidi);
        }
    };

    // The level of the wet path for a slot holding `value`, at the default mix of 50 %.
    constexpr float defaultMix = 0.5f;

    // Loads variation v (zero-based) slot 0 with a short stereo constant of (v + 1) / 16.
    void loadIdentifiableVariations (PreparedProcessor& p, int numSamples = 256)
    {
        for (int v = 0; v < 8; ++v)
        {
            const auto level = (float) (v + 1) / 16.0f;
            p.processor.loadVariationFile (v, 0, p.files.writeAudio ("v" + juce::String (v) + ".wav",
                                                                      constant ({ level, level }, numSamples)));
        }
    }

    // Which variation (one-based) a block's first sample came from.
    int variationHeard (const juce::AudioBuffer<float>& block)
    {
        return juce::roundToInt (block.getSample (0, 0) / defaultMix * 16.0f);
    }

    float expectedMainSample (const juce::AudioBuffer<float>& source, int channel, double position)
    {
        const auto index = (int) position;
        const auto frac = (float) (position - index);
        const auto a = source.getSample (channel, index);
        const auto b = index + 1 < source.getNumSamples() ? source.getSample (channel, index + 1) : 0.0f;
        return a + frac * (b - a);
    }
}

TEST (Processor, HostSeesOneStereoOutputAndOneProgram)
{
    TessalineAudioProcessor processor;
    EXPECT_EQ (processor.getName(), "Tessaline");
    EXPECT_EQ (processor.getBusCount (true), 0);
    ASSERT_EQ (processor.getBusCount (false), 1);
    EXPECT_EQ (processor.getBus (false, 0)->getName(), "Output");
    EXPECT_EQ (processor.getBus (false, 0)->getNumberOfChannels(), 2);
    EXPECT_TRUE (processor.acceptsMidi());
    EXPECT_FALSE (processor.producesMidi());
    EXPECT_FALSE (processor.isMidiEffect());
    EXPECT_EQ (processor.getTailLengthSeconds(), 0.0);
    EXPECT_EQ (processor.getLatencySamples(), 0);
    EXPECT_EQ (processor.getNumPrograms(), 1);
    EXPECT_EQ (processor.getCurrentProgram(), 0);
    EXPECT_EQ (processor.getProgramName (0), "");
    EXPECT_TRUE (processor.hasEditor());

    const auto supports = [&processor] (const juce::AudioChannelSet& set)
    {
        juce::AudioProcessor::BusesLayout layout;
        if (! set.isDisabled())
            layout.outputBuses.add (set);
        return processor.checkBusesLayoutSupported (layout);
    };
    EXPECT_TRUE (supports (juce::AudioChannelSet::stereo()));
    EXPECT_TRUE (supports (juce::AudioChannelSet::mono()));
    EXPECT_FALSE (supports (juce::AudioChannelSet::create5point1()));
    EXPECT_FALSE (supports (juce::AudioChannelSet::quadraphonic()));
    EXPECT_FALSE (supports (juce::AudioChannelSet::disabled()));
}

TEST (Processor, PreparingSizesTheDryDelayLine)
{
    PreparedProcessor p;
    EXPECT_EQ (p.processor.engine.getDryDelayLine().getNumChannels(), 2);
    EXPECT_EQ (p.processor.engine.getDryDelayLine().getNumSamples(), 512 + p.processor.engine.getLatencySamples());
}

TEST (Engine, SilentWithoutMidiAndBeforePreparing)
{
    DryEngine p;
    p.processor.loadMainSampleFile (p.files.writeAudio ("main.wav", constant ({ 0.5f }, 1000)));
    EXPECT_EQ (p.processBlocks (3).getMagnitude (0, 3 * blockSize), 0.0f);

    TessalineAudioProcessor unprepared;
    juce::AudioBuffer<float> buffer (2, 256);
    buffer.setSample (0, 0, 1.0f);
    auto midi = notesAt ({ { 36, 0 } });
    unprepared.processBlock (buffer, midi);
    EXPECT_EQ (buffer.getMagnitude (0, 256), 0.0f);
}

TEST (Engine, NotesTransposeTheMainSample)
{
    const auto source = ramp (2, 3000, 0.0003f);

    for (const auto& [note, rate] : { std::pair { 12, 0.5 }, std::pair { 24, 1.0 }, std::pair { 36, 2.0 }, std::pair { 31, std::pow (2.0, 7.0 / 12.0) } })
    {
        SCOPED_TRACE (note);
        DryEngine p;
        p.setParameter ("mix", 0.0f);
        p.processor.loadMainSampleFile (p.files.writeAudio ("main.wav", source));

        const auto out = p.processDelayed (1024, notesAt ({ { note, 0 } }));
        EXPECT_EQ (out.getMagnitude (0, p.latency()), 0.0f);
        for (int i = 0; i < 1024; i += 37)
            for (int c = 0; c < 2; ++c)
                ASSERT_FLOAT_EQ (out.getSample (c, p.latency() + i), expectedMainSample (source, c, i * rate)) << "sample " << i;
    }
}

TEST (Engine, MainSampleEndsAndBlendsTowardsSilence)
{
    DryEngine p;
    p.processor.loadMainSampleFile (p.files.writeAudio ("main.wav", constant ({ 0.8f }, 1000)));

    const auto out = p.processDelayed (1024, notesAt ({ { 36, 0 } }));
    const auto start = p.latency();
    EXPECT_FLOAT_EQ (out.getSample (0, start + 498), 0.8f);
    EXPECT_FLOAT_EQ (out.getSample (0, start + 499), 0.8f); // position 998 blends 0.8 with 0.8
    EXPECT_FLOAT_EQ (out.getSample (1, start + 499), 0.8f); // a mono sample sounds on both channels
    EXPECT_EQ (out.getMagnitude (start + 500, 524), 0.0f);
    EXPECT_FALSE (p.processor.engine.getMainVoice().playing);

    // At note 31 the last read blends towards 0.0 beyond the end.
    DryEngine q;
    q.processor.loadMainSampleFile (q.files.writeAudio ("main.wav", constant ({ 0.8f }, 1000)));
    const auto rate = std::pow (2.0, 7.0 / 12.0);
    const auto blended = q.processDelayed (1024, notesAt ({ { 31, 0 } }));
    const auto last = (int) std::ceil (1000.0 / rate) - 1;
    const auto frac = (float) (last * rate - 999.0);
    ASSERT_GT (frac, 0.0f);
    EXPECT_NEAR (blended.getSample (0, q.latency() + last), 0.8f - frac * 0.8f, 1.0e-5f);
    EXPECT_EQ (blended.getSample (0, q.latency() + last + 1), 0.0f);
}

TEST (Engine, DefaultSequencePlaysVariationsTwoToEightThenOne)
{
    DryEngine p;
    loadIdentifiableVariations (p);

    std::vector<int> heard, reported;
    for (int i = 0; i < 9; ++i)
    {
        heard.push_back (variationHeard (p.process (notesAt ({ { 60, 0 } }))));
        reported.push_back (p.processor.engine.lastVariation.load() + 1);
    }

    EXPECT_EQ (heard, (std::vector<int> { 2, 3, 4, 5, 6, 7, 8, 1, 2 }));
    EXPECT_EQ (reported, heard);
}

TEST (Engine, RowSwitchesReachPlaybackAtTheNextNote)
{
    DryEngine p;
    loadIdentifiableVariations (p);
    auto pattern = p.processor.parameters.state.getChildWithName ("SequencerState");
    pattern.setProperty ("rowEnabled0", false, nullptr);
    pattern.setProperty ("rowEnabled2", true, nullptr);
    for (int step = 16; step < 24; ++step)
        pattern.getChild (step).setProperty ("value", 24 - step, nullptr); // 8 down to 1

    std::vector<int> heard;
    for (int i = 0; i < 3; ++i)
        heard.push_back (variationHeard (p.process (notesAt ({ { 60, 0 } }))));
    EXPECT_EQ (heard, (std::vector<int> { 8, 7, 6 }));
    EXPECT_EQ (p.processor.engine.lastStep.load(), 18);
}

TEST (Engine, NoteOffReleasesOnlyTheLastNoteAtTheEndOfItsBlock)
{
    DryEngine p;
    p.setParameter ("mix", 0.0f);
    p.processor.loadMainSampleFile (p.files.writeAudio ("main.wav", constant ({ 0.5f, 0.5f }, 48000)));
    p.process (notesAt ({ { 24, 0 } }));

    struct Case
    {
        const char* name;
        juce::MidiMessage message;
        bool keepsPlaying;
    };
    const Case cases[] {
        { "note-off of another note", juce::MidiMessage::noteOff (1, 25), true },
        { "controller", juce::MidiMessage::controllerEvent (1, 7, 0), true },
        { "all notes off", juce::MidiMessage::allNotesOff (1), true },
        { "pitch bend", juce::MidiMessage::pitchWheel (1, 0), true },
        { "program change", juce::MidiMessage::programChange (1, 3), true },
        { "aftertouch", juce::MidiMessage::aftertouchChange (1, 24, 100), true },
        { "note-off of the last note, on another channel", juce::MidiMessage::noteOff (16, 24), false },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        juce::MidiBuffer midi;
        midi.addEvent (c.message, 10);
        const auto counter = p.processor.engine.playbackCounter.load();

        // The block that carries the release still plays to its end.
        const auto position = p.processor.engine.getMainVoice().position;
        p.process (midi);
        EXPECT_EQ (p.processor.engine.getMainVoice().position, position + blockSize);
        EXPECT_EQ (p.processor.engine.getMainVoice().playing, c.keepsPlaying);
        EXPECT_EQ (p.processor.engine.playbackCounter.load(), counter);
    }

    // A note-on with velocity 0 is a note-off too.
    p.process (notesAt ({ { 30, 0 } }));
    juce::MidiBuffer zeroVelocity;
    zeroVelocity.addEvent (juce::MidiMessage::noteOn (1, 30, (juce::uint8) 0), 0);
    p.process (zeroVelocity);
    EXPECT_FALSE (p.processor.engine.getMainVoice().playing);

    // Heard through the dry delay: the voice ends with the block that carried the release.
    const auto out = p.processDelayed (blockSize);
    EXPECT_FLOAT_EQ (out.getSample (0, p.latency() - 1), 0.5f);
    EXPECT_EQ (out.getMagnitude (p.latency(), blockSize), 0.0f);
}

TEST (Engine, SlotVolumesMixAndGains)
{
    DryEngine p;
    p.processor.loadVariationFile (1, 0, p.files.writeAudio ("a.wav", constant ({ 0.1f, 0.2f }, 2000)));
    p.processor.loadVariationFile (1, 1, p.files.writeAudio ("b.wav", constant ({ 0.05f }, 2000)));
    p.processor.loadMainSampleFile (p.files.writeAudio ("main.wav", constant ({ 0.25f }, 4000)));
    p.setParameter ("variation_2_slot_1_volume", 6.0f);
    p.setParameter ("variation_2_slot_2_volume", -12.0f);
    p.setParameter ("input", -6.0f);
    p.setParameter ("output", 3.0f);

    const auto out = p.processDelayed (blockSize, notesAt ({ { 24, 0 } }));
    const auto slot1 = std::pow (10.0f, 6.0f / 20.0f);
    const auto slot2 = std::pow (10.0f, -12.0f / 20.0f);
    const auto input = std::pow (10.0f, -6.0f / 20.0f);
    const auto output = std::pow (10.0f, 3.0f / 20.0f);

    // A mono slot sounds on the left only; the main sample, heard after the delay when the slots
    // have ended, is not scaled by the mix.
    EXPECT_NEAR (out.getSample (0, 100), output * 0.5f * (0.1f * slot1 + 0.05f * slot2), 1.0e-6f);
    EXPECT_NEAR (out.getSample (1, 100), output * 0.5f * 0.2f * slot1, 1.0e-6f);
    ASSERT_GT (p.latency(), 2000);
    EXPECT_NEAR (out.getSample (0, p.latency() + 100), output * input * 0.25f, 1.0e-6f);
    EXPECT_NEAR (out.getSample (1, p.latency() + 100), output * input * 0.25f, 1.0e-6f);

    p.setParameter ("mix", 100.0f);
    p.setParameter ("output", 0.0f);
    p.setParameter ("variation_2_slot_2_volume", 0.0f);
    p.processor.parameters.state.getChildWithName ("SequencerState").getChild (2).setProperty ("value", 2, nullptr);

    // The main sample of the first note is still coming out of the delay line.
    const auto full = p.process (notesAt ({ { 60, 0 } }));
    EXPECT_NEAR (full.getSample (0, 0), input * 0.25f + 0.1f * slot1 + 0.05f, 1.0e-6f);
}

TEST (Engine, NotesStartAtTheirPositionInTheBlock)
{
    DryEngine p;
    p.setParameter ("mix", 100.0f);
    p.processor.loadMainSampleFile (p.files.writeAudio ("main.wav", constant ({ 0.25f }, 4000)));
    p.processor.loadVariationFile (1, 0, p.files.writeAudio ("a.wav", constant ({ 0.5f }, 4000)));

    const auto out = p.processDelayed (blockSize, notesAt ({ { 24, 100 } }));
    EXPECT_EQ (out.getMagnitude (0, 100), 0.0f);
    EXPECT_FLOAT_EQ (out.getSample (0, 100), 0.5f);
    EXPECT_FLOAT_EQ (out.getSample (1, 100), 0.0f);

    // The main sample starts at the same position, heard after the dry path's delay.
    EXPECT_FLOAT_EQ (out.getSample (0, p.latency() + 99), 0.5f);
    EXPECT_FLOAT_EQ (out.getSample (0, p.latency() + 100), 0.75f);
    EXPECT_FLOAT_EQ (out.getSample (1, p.latency() + 100), 0.25f);
}

TEST (Engine, BlocksLargerThanPreparedAreRenderedInPieces)
{
    const auto render = [] (int blockLength)
    {
        DryEngine p;
        p.processor.loadMainSampleFile (p.files.writeAudio ("main.wav", ramp (2, 3000)));
        p.processor.loadVariationFile (1, 0, p.files.writeAudio ("a.wav", ramp (2, 1500, 0.0002f)));

        juce::MidiBuffer midi;
        midi.addEvent (juce::MidiMessage::noteOn (1, 30, (juce::uint8) 90), 700);
        midi.addEvent (juce::MidiMessage::noteOn (1, 36, (juce::uint8) 90), 1500);

        juce::AudioBuffer<float> joined (2, 2048);
        for (int start = 0; start < 2048; start += blockLength)
        {
            juce::MidiBuffer blockMidi;
            blockMidi.addEvents (midi, start, blockLength, -start);
            const auto block = p.process (blockMidi, blockLength);
            for (int c = 0; c < 2; ++c)
                joined.copyFrom (c, start, block, c, 0, blockLength);
        }
        return joined;
    };

    const auto inPreparedBlocks = render (512);
    const auto inOneBlock = render (2048);
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < 2048; ++i)
            ASSERT_EQ (inOneBlock.getSample (c, i), inPreparedBlocks.getSample (c, i)) << c << ", " << i;
    EXPECT_GT (inOneBlock.getMagnitude (1600, 100), 0.0f);
}

TEST (Engine, MonoOutputTakesTheLeftChannelOfAStereoSample)
{
    DryEngine p (1);
    ASSERT_EQ (p.processor.getTotalNumOutputChannels(), 1);
    p.setParameter ("mix", 0.0f);
    p.processor.loadMainSampleFile (p.files.writeAudio ("main.wav", constant ({ 0.3f, 0.6f }, 1000)));
    EXPECT_FLOAT_EQ (p.processDelayed (blockSize, notesAt ({ { 24, 0 } })).getSample (0, p.latency() + 10), 0.3f);
}

TEST (Engine, VariationStaysActiveUntilItsSlotsEnd)
{
    DryEngine p;
    p.processor.loadVariationFile (1, 0, p.files.writeAudio ("a.wav", constant ({ 0.5f }, 600)));

    p.process (notesAt ({ { 60, 0 } }));
    EXPECT_TRUE (p.processor.engine.isVariationActive (1));
    const auto second = p.process();
    EXPECT_FLOAT_EQ (second.getSample (0, 87), 0.25f);
    EXPECT_EQ (second.getSample (0, 88), 0.0f);
    EXPECT_EQ (p.processor.engine.getSlotReadPosition (1, 0), -1);
    EXPECT_TRUE (p.processor.engine.isVariationActive (1)); // this block still carried sound
    p.process();
    EXPECT_FALSE (p.processor.engine.isVariationActive (1));
}

TEST (Engine, TwoNotesInOneBlockTriggerTwice)
{
    DryEngine p;
    loadIdentifiableVariations (p, 4000);
    const auto out = p.process (notesAt ({ { 60, 0 }, { 62, 200 } }));

    EXPECT_EQ (p.processor.engine.playbackCounter.load(), 2);
    EXPECT_EQ (p.processor.engine.lastStep.load(), 2);
    EXPECT_NEAR (out.getSample (0, 100), defaultMix * 2.0f / 16.0f, 1.0e-6f);
    EXPECT_NEAR (out.getSample (0, 300), defaultMix * 5.0f / 16.0f, 1.0e-6f); // variations 2 and 3 together
}

TEST (Engine, AStepNamingNoVariationStillPlaysTheMainSample)
{
    DryEngine p;
    loadIdentifiableVariations (p);
    p.setParameter ("mix", 100.0f);
    p.processor.loadMainSampleFile (p.files.writeAudio ("main.wav", constant ({ 0.01f }, 4000)));
    auto pattern = p.processor.parameters.state.getChildWithName ("SequencerState");
    pattern.getChild (1).setProperty ("value", 9, nullptr);
    pattern.getChild (2).setProperty ("value", 0, nullptr);

    for (int i = 0; i < 2; ++i)
    {
        const auto out = p.processDelayed (blockSize, notesAt ({ { 24, 0 } }));
        EXPECT_FLOAT_EQ (out.getSample (0, p.latency() + 10), 0.01f);
        EXPECT_EQ (p.processor.engine.lastVariation.load(), -1);
        for (int v = 0; v < 8; ++v)
            EXPECT_FALSE (p.processor.engine.isVariationActive (v));
    }
    EXPECT_EQ (p.processor.engine.playbackCounter.load(), 2);
}

TEST (Engine, LoadingASlotStopsItButANewMainSampleKeepsPlaying)
{
    DryEngine p;
    p.setParameter ("mix", 100.0f);
    p.processor.loadVariationFile (1, 0, p.files.writeAudio ("a.wav", constant ({ 0.5f }, 4000)));
    p.processor.loadMainSampleFile (p.files.writeAudio ("main.wav", constant ({ 0.125f }, 4000)));
    p.process (notesAt ({ { 24, 0 } }));

    p.processor.loadVariationFile (1, 0, p.files.writeAudio ("b.wav", constant ({ 0.75f }, 4000)));
    p.processor.loadMainSampleFile (p.files.writeAudio ("main2.wav", constant ({ 0.0625f }, 4000)));

    p.process();
    EXPECT_EQ (p.processor.engine.getSlotReadPosition (1, 0), -1);
    EXPECT_NEAR (p.processor.engine.getMainVoice().position, 1024.0, 1.0e-9);

    // Once the delay has passed, what is heard comes from the new sample.
    const auto later = p.processDelayed (0);
    EXPECT_FLOAT_EQ (later.getSample (0, later.getNumSamples() - 1), 0.0625f);
}
