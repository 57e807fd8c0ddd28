#include "TestSupport.h"

#include "editor/PluginEditor.h"

using namespace TestSupport;

TEST (Rewind, StopsEverythingAndTheNextNotePlaysTheFirstEnabledStep)
{
    PreparedProcessor p;
    p.setParameter ("mix", 100.0f);
    p.setParameter ("effectsOn", 0.0f);
    p.processor.loadMainSampleFile (p.files.writeAudio ("main.wav", constant ({ 0.125f }, 48000)));
    for (int v = 0; v < 8; ++v)
        p.processor.loadVariationFile (v, 0, p.files.writeAudio ("v.wav", constant ({ 0.5f }, 48000)));

    const auto latency = p.processor.engine.getLatencySamples();
    for (int i = 0; i < 3; ++i)
        p.process (notesAt ({ { 24, 0 } }));
    p.processBlocks (latency / blockSize + 1);
    pumpMessages();
    ASSERT_EQ ((int) p.processor.parameters.state["variationPlaybackIndex"], 3);

    p.processor.rewind();
    EXPECT_EQ ((int) p.processor.parameters.state["variationPlaybackIndex"], 0);
    EXPECT_EQ (p.processor.engine.playbackCounter.load(), 0);

    // Slots fall silent at once; the main voice ends with the block in which the rewind is seen
    // and is heard to its end through the dry path's delay.
    const auto first = p.process();
    EXPECT_FLOAT_EQ (first.getSample (0, 0), 0.125f);
    EXPECT_FALSE (p.processor.engine.getMainVoice().playing);
    EXPECT_EQ (p.processor.engine.lastNote.load(), -1);
    EXPECT_EQ (p.processor.engine.lastStep.load(), -1);
    EXPECT_EQ (p.processor.engine.lastVariation.load(), -1);
    for (int v = 0; v < 8; ++v)
        EXPECT_FALSE (p.processor.engine.isVariationActive (v));
    const auto rest = p.processBlocks (latency / blockSize + 2);
    EXPECT_FLOAT_EQ (rest.getSample (0, latency - 1), 0.125f);
    EXPECT_EQ (rest.getMagnitude (latency, blockSize), 0.0f);

    p.process (notesAt ({ { 24, 0 } }));
    EXPECT_EQ (p.processor.engine.lastStep.load(), 0);
    EXPECT_EQ (p.processor.engine.lastVariation.load(), 0);
    EXPECT_EQ (p.processor.engine.playbackCounter.load(), 1);
}

TEST (TriggerMessages, ReachAnOpenEditorInOrderAndAreDroppedWithoutOne)
{
    PreparedProcessor p;

    // Without an editor the messages are dropped, so a newly opened one shows nothing lit.
    p.process (notesAt ({ { 60, 0 }, { 61, 10 } }));
    pumpMessages();
    {
        HostedEditor open (p.processor);
        auto* editor = open.get();
        ASSERT_NE (editor, nullptr);
        EXPECT_EQ (editor->getWidth(), 800);
        EXPECT_EQ (editor->getHeight(), 500);
        pumpMessages();
        EXPECT_EQ (editor->getLastHighlightedStep(), -1);
        EXPECT_EQ (editor->getLastPlayingVariation(), -1);

        // Two notes in one block: both messages arrive, the later one wins.
        p.process (notesAt ({ { 60, 0 }, { 61, 10 } }));
        pumpMessages();
        EXPECT_EQ (editor->getLastHighlightedStep(), 4);
        EXPECT_EQ (editor->getLastPlayingVariation(), 4);
        EXPECT_TRUE (editor->isVariationPlaying (4));
        EXPECT_FALSE (editor->isVariationPlaying (3));

        editor->displayPlayback (3, 2);
        editor->displayPlayback (4, 2);
        EXPECT_TRUE (editor->isVariationPlaying (2));
        EXPECT_FALSE (editor->isVariationPlaying (4));
        editor->displayPlayback (40, 9);
        EXPECT_FALSE (editor->isVariationPlaying (2));
        EXPECT_EQ (editor->getLastHighlightedStep(), 40);
    }
}

TEST (ThreadSafety, AudioThreadSeesWholeBuffersWhileSlotsAndPatternChange)
{
    PreparedProcessor p;
    p.setParameter ("mix", 100.0f);
    p.setParameter ("effectsOn", 0.0f);

    // Every buffer loaded below is a constant from this set, so the three slots together sound at
    // a multiple of 1/8 up to 9/8; a half-replaced or freed buffer would show as any other value.
    const float levels[] { 0.125f, 0.25f, 0.375f };
    juce::Array<juce::File> files;
    for (int i = 0; i < 3; ++i)
        files.add (p.files.writeAudio ("level" + juce::String (i) + ".wav", constant ({ levels[i] }, 700 + 300 * i)));

    auto pattern = p.processor.parameters.state.getChildWithName ("SequencerState");
    for (int step = 0; step < 32; ++step)
        pattern.getChild (step).setProperty ("value", 1, nullptr); // every step plays variation 1

    AudioThread audio (p.processor, [] (float sample)
    {
        return std::fmod (sample, 0.125f) == 0.0f && sample >= 0.0f && sample <= 1.125f;
    });

    juce::Random random (42);
    for (int round = 0; round < 300; ++round)
    {
        const auto slot = random.nextInt (3);
        if (random.nextInt (4) == 0)
            p.processor.clearVariationFile (0, slot);
        else
            p.processor.loadVariationFile (0, slot, files[random.nextInt (3)]);

        pattern.setProperty ("rowEnabled" + juce::String (random.nextInt (4)), random.nextBool(), nullptr);
        if (round % 50 == 0)
            p.processor.rewind();
        pumpMessages (1);
    }

    audio.stop();

    EXPECT_GT (audio.getBlocks(), 0);
    EXPECT_EQ (audio.getUnexpectedSamples(), 0);
}
