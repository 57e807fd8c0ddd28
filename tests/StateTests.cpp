#include "TestSupport.h"

#include "processor/SampleBinary.h"

#include <thread>

using namespace TestSupport;

namespace
{
    juce::MemoryBlock saveState (TessalineAudioProcessor& processor)
    {
        juce::MemoryBlock blob;
        processor.getStateInformation (blob);
        return blob;
    }

    void restoreState (TessalineAudioProcessor& processor, const juce::MemoryBlock& blob)
    {
        processor.setStateInformation (blob.getData(), (int) blob.getSize());
    }

    juce::String xmlTextOf (const juce::MemoryBlock& blob)
    {
        return juce::String::fromUTF8 (static_cast<const char*> (blob.getData()) + 8, (int) blob.getSize() - 9);
    }

    juce::MemoryBlock blobOfBytes (const char* text, size_t numBytes)
    {
        juce::MemoryBlock blob;
        juce::MemoryOutputStream out (blob, false);
        out.writeInt (0x21324356);
        out.writeInt ((int) numBytes);
        out.write (text, numBytes);
        out.writeByte (0);
        out.flush();
        return blob;
    }

    juce::MemoryBlock blobOf (const juce::String& xmlText)
    {
        return blobOfBytes (xmlText.toRawUTF8(), xmlText.getNumBytesAsUTF8());
    }

    // A processor with a main sample, three slots of two variations, a pattern and parameters set.
    struct LoadedKit
    {
        LoadedKit()
        {
            p.setParameter ("mix", 80.0f);
            p.setParameter ("variation_2_slot_3_volume", -4.5f);
            p.processor.loadMainSampleFile (p.files.writeAudio ("main.wav", ramp (2, 5000, 0.0002f)));
            p.processor.loadVariationFile (1, 0, p.files.writeAudio ("a.wav", ramp (1, 700, 0.001f)));
            p.processor.loadVariationFile (1, 2, p.files.writeAudio ("b.flac", ramp (2, 900, 0.0005f)));
            p.processor.loadVariationFile (2, 1, p.files.writeAudio ("c.wav", constant ({ 0.3f, -0.2f }, 1200)));
            auto pattern = p.processor.parameters.state.getChildWithName ("SequencerState");
            pattern.setProperty ("rowEnabled1", true, nullptr);
            pattern.getChild (2).setProperty ("value", 2, nullptr);
        }

        PreparedProcessor p;
    };

    // Notes walking through the pattern, one every 300 samples.
    juce::AudioBuffer<float> playPhrase (PreparedProcessor& p)
    {
        juce::MidiBuffer midi;
        for (int i = 0; i < 10; ++i)
            midi.addEvent (juce::MidiMessage::noteOn (1, 20 + 3 * i, (juce::uint8) 100), i * 300);
        return p.processBlocks (8, midi);
    }

    void expectSameAudio (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
    {
        ASSERT_EQ (a.getNumChannels(), b.getNumChannels());
        ASSERT_EQ (a.getNumSamples(), b.getNumSamples());
        for (int c = 0; c < a.getNumChannels(); ++c)
            for (int i = 0; i < a.getNumSamples(); ++i)
                ASSERT_EQ (a.getSample (c, i), b.getSample (c, i)) << "channel " << c << ", sample " << i;
    }
}

TEST (State, BlobIsTheFrameworksXmlWrapper)
{
    PreparedProcessor p;
    const auto blob = saveState (p.processor);
    const auto* bytes = static_cast<const juce::uint8*> (blob.getData());

    ASSERT_GT (blob.getSize(), 9u);
    EXPECT_EQ (bytes[0], 0x56);
    EXPECT_EQ (bytes[1], 0x43);
    EXPECT_EQ (bytes[2], 0x32);
    EXPECT_EQ (bytes[3], 0x21);
    EXPECT_EQ (juce::ByteOrder::littleEndianInt (bytes + 4), (juce::uint32) blob.getSize() - 9);
    EXPECT_EQ (bytes[blob.getSize() - 1], 0);

    const auto text = xmlTextOf (blob);
    EXPECT_TRUE (text.startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?> <Parameters"));
    EXPECT_FALSE (text.containsAnyOf ("\r\n"));
    EXPECT_FALSE (text.contains ("mainSampleBinary"));
    EXPECT_TRUE (text.contains ("<SequencerState"));
    EXPECT_TRUE (text.contains ("<PARAM id=\"sound_7_warmth_mix\" value=\"0.0\"/>"));
}

TEST (State, SavesTheMainSampleAndTheCurrentTriggerCount)
{
    PreparedProcessor p;
    p.processor.loadMainSampleFile (p.files.writeAudio ("main.wav", ramp (2, 321)));
    p.process (notesAt ({ { 30, 0 }, { 31, 1 }, { 32, 2 } }));

    // Saved before the message thread mirrored the count into the tree.
    const auto xml = juce::parseXML (xmlTextOf (saveState (p.processor)));
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getIntAttribute ("variationPlaybackIndex"), 3);
    EXPECT_EQ (SampleBinary::fromBase64 (xml->getStringAttribute ("mainSampleBinary")).getSize(), 4u * 2u * 321u);
}

TEST (State, AProjectReopensWithItsAudioAfterTheFilesAreGone)
{
    LoadedKit original;
    const auto blob = saveState (original.p.processor);
    const auto paths = [&original]
    {
        juce::StringArray result;
        for (const auto& key : { "variation1slot0FilePath", "variation1slot2FilePath", "variation2slot1FilePath" })
            result.add (original.p.processor.parameters.state[key].toString());
        return result;
    }();
    original.p.files.get().deleteRecursively();

    PreparedProcessor reopened;
    restoreState (reopened.processor, blob);

    EXPECT_FLOAT_EQ (reopened.processor.parameters.getRawParameterValue ("mix")->load(), 80.0f);
    EXPECT_FLOAT_EQ (reopened.processor.parameters.getRawParameterValue ("variation_2_slot_3_volume")->load(), -4.5f);
    EXPECT_EQ (reopened.processor.parameters.state["variation1slot0FilePath"].toString(), paths[0]);
    EXPECT_EQ (reopened.processor.parameters.state["variation2slot1FilePath"].toString(), paths[2]);
    EXPECT_EQ (reopened.processor.getMainSampleData(), original.p.processor.getMainSampleData());

    const auto expected = playPhrase (original.p);
    const auto heard = playPhrase (reopened);
    EXPECT_GT (heard.getMagnitude (0, heard.getNumSamples()), 0.1f);
    expectSameAudio (heard, expected);

    // Saved again, the restored project gives the same text.
    EXPECT_EQ (juce::parseXML (xmlTextOf (saveState (reopened.processor)))->getStringAttribute ("mainSampleBinary"),
               juce::parseXML (xmlTextOf (blob))->getStringAttribute ("mainSampleBinary"));
}

TEST (State, SlotFilesThatStillExistAreReloadedAndRewriteTheirRecords)
{
    LoadedKit original;
    const auto blob = saveState (original.p.processor);
    const auto changed = constant ({ 0.125f }, 333);
    original.p.files.writeAudio ("a.wav", changed);

    PreparedProcessor reopened;
    restoreState (reopened.processor, blob);

    const auto& state = reopened.processor.parameters.state;
    EXPECT_EQ ((int) state["variation1_slot0_numCh"], 1);
    EXPECT_EQ ((int) state["variation1_slot0_numSm"], 333);
    EXPECT_EQ (state["variation1_slot0_binary"].toString(), SampleBinary::toBase64 (SampleBinary::encode (changed)));
    const auto* slot = reopened.processor.samples.slot (1, 0).latest();
    ASSERT_NE (slot, nullptr);
    EXPECT_EQ (slot->getNumSamples(), 333);
}

TEST (State, RestoringRestartsTheCursorAndTakesTheCount)
{
    LoadedKit original;
    original.p.process (notesAt ({ { 30, 0 }, { 31, 1 }, { 32, 2 }, { 33, 3 } }));
    const auto blob = saveState (original.p.processor);

    PreparedProcessor reopened;
    for (int i = 0; i < 5; ++i)
        reopened.process (notesAt ({ { 40, 0 } }));
    restoreState (reopened.processor, blob);

    EXPECT_EQ (reopened.processor.engine.playbackCounter.load(), 4);
    reopened.process (notesAt ({ { 40, 0 } }));
    EXPECT_EQ (reopened.processor.engine.lastStep.load(), 1);
    EXPECT_EQ (reopened.processor.engine.playbackCounter.load(), 5);
}

TEST (State, WhatTheRestoredStateLacksIsKept)
{
    PreparedProcessor p;
    p.processor.loadMainSampleFile (p.files.writeAudio ("main.wav", constant ({ 0.25f }, 4000)));
    p.processor.loadVariationFile (0, 0, p.files.writeAudio ("v.wav", constant ({ 0.5f }, 4000)));
    const auto mainData = p.processor.getMainSampleData();

    restoreState (p.processor, blobOf ("<parameters mix=\"3\"/>"));

    EXPECT_EQ (p.processor.parameters.state.getType().toString(), "parameters");
    EXPECT_TRUE (p.processor.parameters.state.getChildWithName ("SequencerState").isValid());
    EXPECT_EQ (p.processor.getMainSampleData(), mainData);
    const auto latency = p.processor.engine.getLatencySamples();
    const auto out = p.processBlocks (latency / blockSize + 2, notesAt ({ { 24, 0 } }));
    EXPECT_FLOAT_EQ (out.getSample (0, latency), 0.25f);
}

TEST (State, DamagedOrForeignStatesChangeNothing)
{
    LoadedKit kit;
    auto& processor = kit.p.processor;
    const auto good = saveState (processor);
    const auto goodText = xmlTextOf (good);

    const auto withAttribute = [&goodText] (const juce::String& attribute)
    {
        return blobOf (goodText.replace ("<Parameters ", "<Parameters " + attribute + " "));
    };
    const auto withLength = [&good] (int length)
    {
        auto blob = good;
        const auto bytes = juce::ByteOrder::swapIfBigEndian ((juce::uint32) length);
        std::memcpy (static_cast<char*> (blob.getData()) + 4, &bytes, 4);
        return blob;
    };

    struct Case
    {
        const char* name;
        juce::MemoryBlock blob;
    };
    std::vector<Case> cases {
        { "wrong magic", [&good] { auto b = good; static_cast<char*> (b.getData())[0] = 'X'; return b; }() },
        { "zero length", withLength (0) },
        { "negative length", withLength (-5) },
        { "oversized length on a cut blob", [&withLength, &good] { auto b = withLength ((int) good.getSize()); b.setSize (good.getSize() / 2); return b; }() },
        { "text that is not XML", blobOf ("this is not xml at all") },
        { "empty text", blobOf ("") },
        { "another plug-in's root", blobOf ("<PluginState mix=\"1\"/>") },
        { "malformed UTF-8 at the end of the text", blobOfBytes ("<Parameters><PARAM>\xf0", 20) },
        { "non-numeric channel count", withAttribute ("mainSampleNumCh=\"two\"") },
        { "negative frame count", withAttribute ("variation4_slot1_numSm=\"-3\"") },
        { "count beyond 32 bits", withAttribute ("variation4_slot1_numSm=\"99999999999\"") },
        { "counts whose product overflows", withAttribute ("variation5_slot0_numCh=\"65536\" variation5_slot0_numSm=\"65536\"") },
    };
    for (int size = 0; size <= 8; ++size)
    {
        juce::MemoryBlock prefix (good.getData(), (size_t) size);
        cases.push_back ({ "short blob", prefix });
    }

    const auto stateBefore = processor.parameters.state.toXmlString();
    const auto mainBefore = processor.getMainSampleData();
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        restoreState (processor, c.blob);
        EXPECT_EQ (processor.parameters.state.toXmlString(), stateBefore);
        EXPECT_EQ (processor.getMainSampleData(), mainBefore);
    }

    // A null pointer with a size of zero, as some hosts send for an empty chunk.
    processor.setStateInformation (nullptr, 0);
    EXPECT_EQ (processor.parameters.state.toXmlString(), stateBefore);
}

TEST (State, ShortOrDamagedSampleTextDecodesWhatIsThere)
{
    PreparedProcessor p;

    // Slot 0 of variation 2 claims 1000 stereo frames but carries only two, the second of which
    // is cut by an invalid Base64 character.
    juce::AudioBuffer<float> twoFrames (2, 2);
    twoFrames.setSample (0, 0, 0.5f);
    twoFrames.setSample (1, 0, -0.5f);
    twoFrames.setSample (0, 1, 0.25f);
    twoFrames.setSample (1, 1, 0.75f);
    const auto text = SampleBinary::toBase64 (SampleBinary::encode (twoFrames));
    const auto damaged = text.substring (0, 12) + "*" + text.substring (13);

    restoreState (p.processor, blobOf ("<Parameters variation1_slot0_binary=\"" + damaged
                                       + "\" variation1_slot0_numCh=\"2\" variation1_slot0_numSm=\"1000\"/>"));

    const auto* slot = p.processor.samples.slot (1, 0).latest();
    ASSERT_NE (slot, nullptr);
    EXPECT_EQ (slot->getNumChannels(), 2);
    EXPECT_EQ (slot->getNumSamples(), 1000);
    EXPECT_EQ (slot->getSample (0, 0), 0.5f);
    EXPECT_EQ (slot->getSample (1, 0), -0.5f);
    EXPECT_EQ (slot->getSample (0, 1), 0.0f); // the group holding it was cut
    EXPECT_EQ (slot->getMagnitude (2, 998), 0.0f);

    p.setParameter ("mix", 100.0f);
    p.setParameter ("effectsOn", 0.0f);
    const auto out = p.process (notesAt ({ { 60, 0 } }));
    EXPECT_EQ (out.getSample (0, 0), 0.5f);
    EXPECT_EQ (out.getSample (1, 0), -0.5f);
}

TEST (State, RestoringOnAnotherThreadWhileTheAudioThreadPlays)
{
    LoadedKit kit;
    const auto first = saveState (kit.p.processor);
    kit.p.processor.loadMainSampleFile (kit.p.files.writeAudio ("other.wav", constant ({ 0.1f }, 9000)));
    kit.p.processor.clearVariationFile (1, 2);
    const auto second = saveState (kit.p.processor);

    AudioThread audio (kit.p.processor, [] (float sample) { return std::isfinite (sample) && std::abs (sample) <= 4.0f; });

    std::atomic<bool> hostDone { false };
    std::thread host ([&]
    {
        for (int round = 0; round < 40; ++round)
        {
            restoreState (kit.p.processor, round % 2 == 0 ? first : second);
            juce::MemoryBlock saved;
            kit.p.processor.getStateInformation (saved);
        }
        hostDone = true;
    });

    // The message thread keeps delivering trigger messages and freeing buffers meanwhile.
    while (! hostDone)
        pumpMessages (5);
    host.join();
    pumpMessages (20);
    audio.stop();

    EXPECT_GT (audio.getBlocks(), 0);
    EXPECT_EQ (audio.getUnexpectedSamples(), 0);
    EXPECT_EQ (kit.p.processor.getMainSampleData().getSize(), 4u * 9000u);
}
