#include "TestSupport.h"

#include "processor/SampleBinary.h"

using namespace TestSupport;

namespace
{
    // Records every property change of a tree.
    struct ChangeRecorder : juce::ValueTree::Listener
    {
        explicit ChangeRecorder (juce::ValueTree& t) : tree (t) { tree.addListener (this); }
        ~ChangeRecorder() override { tree.removeListener (this); }

        void valueTreePropertyChanged (juce::ValueTree&, const juce::Identifier& property) override
        {
            changes.add (property.toString());
        }

        juce::ValueTree& tree;
        juce::StringArray changes;
    };

    const juce::AudioBuffer<float>* latestSlot (TessalineAudioProcessor& processor, int variation, int slot)
    {
        return processor.samples.slot (variation, slot).latest();
    }

    // Writes a WAV header for 8-bit mono audio whose data chunk claims `claimedBytes` bytes.
    juce::File writeWavClaiming (const TemporaryFolder& folder, juce::uint32 claimedBytes)
    {
        juce::MemoryOutputStream out;
        out.write ("RIFF", 4);
        out.writeInt ((int) (claimedBytes + 36));
        out.write ("WAVEfmt ", 8);
        out.writeInt (16);
        out.writeShort (1);     // PCM
        out.writeShort (1);     // mono
        out.writeInt (48000);
        out.writeInt (48000);
        out.writeShort (1);     // block align
        out.writeShort (8);     // bits
        out.write ("data", 4);
        out.writeInt ((int) claimedBytes);
        for (int i = 0; i < 64; ++i)
            out.writeByte ((char) 0x90);

        const auto file = folder.get().getChildFile ("huge.wav");
        file.replaceWithData (out.getData(), out.getDataSize());
        return file;
    }
}

TEST (SampleBinary, EncodesFramesInOrderAsLittleEndianFloats)
{
    juce::AudioBuffer<float> audio (2, 2);
    audio.setSample (0, 0, 0.5f);
    audio.setSample (1, 0, 0.25f);
    audio.setSample (0, 1, -1.0f);
    audio.setSample (1, 1, 0.0f);

    const auto binary = SampleBinary::encode (audio);
    const juce::uint8 expected[] { 0x00, 0x00, 0x00, 0x3F, 0x00, 0x00, 0x80, 0x3E,
                                   0x00, 0x00, 0x80, 0xBF, 0x00, 0x00, 0x00, 0x00 };
    ASSERT_EQ (binary.getSize(), sizeof (expected));
    EXPECT_EQ (std::memcmp (binary.getData(), expected, sizeof (expected)), 0);

    EXPECT_EQ (SampleBinary::toBase64 (binary), "AAAAPwAAgD4AAIC/AAAAAA==");
    EXPECT_EQ (SampleBinary::fromBase64 ("AAAAPwAAgD4AAIC/AAAAAA=="), binary);
}

TEST (SampleBinary, DecodesWhatIsThereAndSilenceForTheRest)
{
    const auto source = ramp (3, 7);
    const auto binary = SampleBinary::encode (source);

    const auto whole = SampleBinary::decode (binary.getData(), binary.getSize(), 3, 7);
    ASSERT_NE (whole, nullptr);
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ (whole->getSample (c, i), source.getSample (c, i));

    // Ten bytes: two whole samples of frame 0, the rest silent.
    const auto shortened = SampleBinary::decode (binary.getData(), 10, 3, 7);
    ASSERT_NE (shortened, nullptr);
    EXPECT_EQ (shortened->getSample (0, 0), source.getSample (0, 0));
    EXPECT_EQ (shortened->getSample (1, 0), source.getSample (1, 0));
    EXPECT_EQ (shortened->getSample (2, 0), 0.0f);
    EXPECT_EQ (shortened->getMagnitude (1, 6), 0.0f);

    EXPECT_EQ (SampleBinary::decode (binary.getData(), binary.getSize(), -1, 7), nullptr);
    EXPECT_EQ (SampleBinary::decode (binary.getData(), binary.getSize(), 2, -7), nullptr);

    // Invalid Base64 decodes up to the bad character.
    EXPECT_EQ (SampleBinary::fromBase64 ("AAAAPwAA!D4AAIC/").getSize(), 6u);
}

TEST (SampleSlots, LoadingKeepsTheFileAsItIsAndRecordsIt)
{
    struct Case
    {
        const char* name;
        int numChannels;
        double fileRate;
    };
    const Case cases[] { { "mono.wav", 1, 48000.0 }, { "stereo.wav", 2, 44100.0 }, { "six.wav", 6, 96000.0 },
                         { "stereo.flac", 2, 48000.0 }, { "stereo.aiff", 2, 48000.0 } };

    PreparedProcessor p;
    int slot = 0;
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        const auto audio = ramp (c.numChannels, 1234, 0.0004f);
        const auto file = p.files.writeAudio (c.name, audio, c.fileRate);
        const auto variation = slot / 3, s = slot % 3;
        p.processor.loadVariationFile (variation, s, file);
        ++slot;

        const auto* loaded = latestSlot (p.processor, variation, s);
        ASSERT_NE (loaded, nullptr);
        EXPECT_EQ (loaded->getNumChannels(), c.numChannels);
        EXPECT_EQ (loaded->getNumSamples(), 1234);
        EXPECT_NEAR (loaded->getSample (c.numChannels - 1, 1000), audio.getSample (c.numChannels - 1, 1000), 1.0e-4f);

        const auto& state = p.processor.parameters.state;
        const auto prefix = "variation" + juce::String (variation);
        EXPECT_EQ (state[juce::Identifier (prefix + "slot" + juce::String (s) + "FilePath")].toString(), file.getFullPathName());
        EXPECT_EQ ((int) state[juce::Identifier (prefix + "_slot" + juce::String (s) + "_numCh")], c.numChannels);
        EXPECT_EQ ((int) state[juce::Identifier (prefix + "_slot" + juce::String (s) + "_numSm")], 1234);
        EXPECT_EQ (state[juce::Identifier (prefix + "_slot" + juce::String (s) + "_binary")].toString(),
                   SampleBinary::toBase64 (SampleBinary::encode (*loaded)));
    }
}

TEST (SampleSlots, RecordsAreWrittenInOrderAndReplacedByASecondLoad)
{
    PreparedProcessor p;
    const auto first = p.files.writeAudio ("first.wav", ramp (1, 100));
    const auto second = p.files.writeAudio ("second.wav", ramp (2, 50));

    p.processor.loadVariationFile (3, 2, first);
    ChangeRecorder recorder (p.processor.parameters.state);
    p.processor.loadVariationFile (3, 2, second);

    EXPECT_EQ (recorder.changes, juce::StringArray ({ "variation3slot2FilePath", "variation3_slot2_binary",
                                                      "variation3_slot2_numCh", "variation3_slot2_numSm" }));
    const auto& state = p.processor.parameters.state;
    int slotKeys = 0;
    for (int i = 0; i < state.getNumProperties(); ++i)
        slotKeys += state.getPropertyName (i).toString().startsWith ("variation3") ? 1 : 0;
    EXPECT_EQ (slotKeys, 4);
    EXPECT_EQ (state["variation3slot2FilePath"].toString(), second.getFullPathName());
    EXPECT_EQ ((int) state["variation3_slot2_numSm"], 50);
}

TEST (SampleSlots, AZeroFrameFileGivesAnEmptySlotWithItsRecords)
{
    PreparedProcessor p;
    const auto file = p.files.writeAudio ("empty.wav", juce::AudioBuffer<float> (2, 0));
    p.processor.loadVariationFile (0, 0, file);

    const auto* loaded = latestSlot (p.processor, 0, 0);
    ASSERT_NE (loaded, nullptr);
    EXPECT_EQ (loaded->getNumChannels(), 2);
    EXPECT_EQ (loaded->getNumSamples(), 0);

    const auto& state = p.processor.parameters.state;
    EXPECT_EQ (state["variation0_slot0_binary"].toString(), "");
    EXPECT_EQ ((int) state["variation0_slot0_numSm"], 0);
    EXPECT_EQ (state["variation0slot0FilePath"].toString(), file.getFullPathName());
}

TEST (SampleSlots, BadFilesChangeNothing)
{
    PreparedProcessor p;
    const auto good = p.files.writeAudio ("good.wav", ramp (2, 300));
    p.processor.loadVariationFile (1, 1, good);
    p.processor.loadMainSampleFile (good);
    const auto stateBefore = p.processor.parameters.state.toXmlString();
    const auto* slotBefore = latestSlot (p.processor, 1, 1);
    const auto* mainBefore = p.processor.samples.main().latest();

    const juce::File bad[] {
        juce::File(),
        p.files.get().getChildFile ("missing.wav"),
        p.files.get(),
        p.files.writeText ("notes.wav", "this is not audio"),
        writeWavClaiming (p.files, 0xffffffffu),
    };

    for (const auto& file : bad)
    {
        SCOPED_TRACE (file.getFullPathName());
        p.processor.loadVariationFile (1, 1, file);
        EXPECT_EQ (latestSlot (p.processor, 1, 1), slotBefore);
        EXPECT_EQ (p.processor.parameters.state.toXmlString(), stateBefore);
    }

    // Indices out of range are ignored.
    p.processor.loadVariationFile (8, 0, good);
    p.processor.loadVariationFile (0, 3, good);
    p.processor.loadVariationFile (-1, 0, good);
    p.processor.clearVariationFile (0, -1);
    EXPECT_EQ (p.processor.parameters.state.toXmlString(), stateBefore);

    // Missing files and folders leave the main sample alone; an undecodable file still marks it loaded.
    p.processor.parameters.state.removeProperty ("mainSampleLoaded", nullptr);
    p.processor.loadMainSampleFile (p.files.get().getChildFile ("missing.wav"));
    p.processor.loadMainSampleFile (p.files.get());
    EXPECT_FALSE (p.processor.parameters.state.hasProperty ("mainSampleLoaded"));

    p.processor.loadMainSampleFile (p.files.writeText ("bad.wav", "not audio"));
    EXPECT_TRUE ((bool) p.processor.parameters.state["mainSampleLoaded"]);
    EXPECT_EQ (p.processor.samples.main().latest(), mainBefore);
    EXPECT_EQ (p.processor.getMainSampleData().getSize(), 4u * 2u * 300u);
}

TEST (SampleSlots, ClearingEmptiesTheSlotAndRemovesItsRecords)
{
    PreparedProcessor p;
    p.processor.loadVariationFile (5, 0, p.files.writeAudio ("a.wav", ramp (2, 100)));
    p.processor.clearVariationFile (5, 0);

    const auto* cleared = latestSlot (p.processor, 5, 0);
    ASSERT_NE (cleared, nullptr);
    EXPECT_EQ (cleared->getNumSamples(), 0);
    EXPECT_EQ (cleared->getNumChannels(), 0);
    for (const auto* key : { "variation5slot0FilePath", "variation5_slot0_binary", "variation5_slot0_numCh", "variation5_slot0_numSm" })
        EXPECT_FALSE (p.processor.parameters.state.hasProperty (key)) << key;

    // Clearing a slot that is already empty tells no listener anything.
    ChangeRecorder recorder (p.processor.parameters.state);
    p.processor.clearVariationFile (5, 0);
    p.processor.clearVariationFile (2, 2);
    EXPECT_TRUE (recorder.changes.isEmpty());
}

TEST (SampleSlots, MainSampleLoadRecordsCountsAndKeepsTheBinaryOutOfTheTree)
{
    PreparedProcessor p;
    const auto audio = ramp (2, 640);
    p.processor.loadMainSampleFile (p.files.writeAudio ("main.wav", audio));

    const auto& state = p.processor.parameters.state;
    EXPECT_EQ ((int) state["mainSampleNumCh"], 2);
    EXPECT_EQ ((int) state["mainSampleNumSamples"], 640);
    EXPECT_TRUE ((bool) state["mainSampleLoaded"]);
    EXPECT_FALSE (state.hasProperty ("mainSampleBinary"));
    EXPECT_EQ (p.processor.getMainSampleData(), SampleBinary::encode (audio));
}
