#include "TestSupport.h"

#include "processor/SequencerState.h"

using namespace TestSupport;

namespace
{
    juce::ValueTree patternOf (TessalineAudioProcessor& processor)
    {
        return processor.parameters.state.getChildWithName ("SequencerState");
    }

    std::vector<int> advance (StepCursor& cursor, int times)
    {
        std::vector<int> steps;
        for (int i = 0; i < times; ++i)
            steps.push_back (cursor.advance());
        return steps;
    }
}

TEST (SequencerState, ProcessorStartsWithOneDefaultPattern)
{
    TessalineAudioProcessor processor;
    const auto& root = processor.parameters.state;
    EXPECT_EQ (root.getType().toString(), "Parameters");

    int patterns = 0;
    for (const auto& child : root)
        patterns += child.hasType ("SequencerState") ? 1 : 0;
    EXPECT_EQ (patterns, 1);

    const auto pattern = patternOf (processor);
    ASSERT_EQ (pattern.getNumChildren(), 32);
    for (int i = 0; i < 32; ++i)
    {
        const auto pad = pattern.getChild (i);
        EXPECT_TRUE (pad.hasType ("Pad"));
        EXPECT_EQ ((int) pad["index"], i);
        EXPECT_EQ ((int) pad["value"], i % 8 + 1);
    }

    EXPECT_TRUE ((bool) pattern["rowEnabled0"]);
    EXPECT_FALSE ((bool) pattern["rowEnabled1"]);
    EXPECT_FALSE ((bool) pattern["rowEnabled2"]);
    EXPECT_FALSE ((bool) pattern["rowEnabled3"]);
}

TEST (SequencerState, AnExistingPatternIsKeptAndMissingRowsReadAsDefaults)
{
    juce::ValueTree root ("Parameters");
    juce::ValueTree custom ("SequencerState");
    custom.appendChild (juce::ValueTree ("Pad", { { "index", 0 }, { "value", 5 } }), nullptr);
    root.appendChild (custom, nullptr);

    EXPECT_EQ (SequencerState::findOrCreate (root), custom);
    EXPECT_EQ (root.getNumChildren(), 1);
    EXPECT_TRUE (SequencerState::isRowEnabled (custom, 0));
    EXPECT_FALSE (SequencerState::isRowEnabled (custom, 3));
}

TEST (StepCursor, DefaultPatternPlaysTheStepAfterZeroFirstAndWrapsWithinRowZero)
{
    StepCursor cursor;
    cursor.readPattern (SequencerState::createDefault());
    EXPECT_EQ (advance (cursor, 9), (std::vector<int> { 1, 2, 3, 4, 5, 6, 7, 0, 1 }));
}

TEST (StepCursor, FollowsTheEnabledRows)
{
    struct Case
    {
        const char* name;
        std::array<bool, 4> rows;
        int startStep;
        std::vector<int> expected;
    };

    const Case cases[] {
        { "rows 0 and 2 from step 7", { true, false, true, false }, 7, { 16, 17, 18, 19, 20, 21, 22, 23, 0 } },
        { "all rows off repeats the current step", { false, false, false, false }, 0, { 0, 0, 0 } },
        { "row 3 only, from a step of a disabled row", { false, false, false, true }, 5, { 24, 25 } },
        { "after a rewind the first enabled step plays", { false, true, false, false }, -1, { 8, 9 } },
        { "all rows off after a rewind names no step", { false, false, false, false }, -1, { -1, -1 } },
        { "every row, wrapping at the end", { true, true, true, true }, 30, { 31, 0, 1 } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        auto pattern = SequencerState::createDefault();
        for (int row = 0; row < 4; ++row)
            pattern.setProperty (SequencerState::rowEnabledKey (row), c.rows[(size_t) row], nullptr);

        StepCursor cursor;
        cursor.readPattern (pattern);
        cursor.requestStep (c.startStep);
        EXPECT_EQ (advance (cursor, (int) c.expected.size()), c.expected);
    }
}

TEST (StepCursor, MissingPadsShortenThePatternAndNameNoVariation)
{
    auto pattern = SequencerState::createDefault();
    for (int i = 31; i >= 5; --i)
        pattern.removeChild (i, nullptr);
    pattern.getChild (2).setProperty ("value", 12, nullptr);

    StepCursor cursor;
    cursor.readPattern (pattern);
    EXPECT_EQ (advance (cursor, 5), (std::vector<int> { 1, 2, 3, 4, 0 }));
    EXPECT_EQ (cursor.padValue (1), 2);
    EXPECT_EQ (cursor.padValue (2), 12);
    EXPECT_EQ (cursor.padValue (5), 0);
    EXPECT_EQ (cursor.padValue (-1), 0);
}

TEST (StepCursor, ProcessorCursorFollowsEditsOfTheTree)
{
    PreparedProcessor p;
    auto pattern = patternOf (p.processor);

    p.process (notesAt ({ { 60, 0 } }));
    EXPECT_EQ (p.processor.engine.lastStep.load(), 1);

    // A row switched on takes part from the next note on; a pad edit is read at its step.
    pattern.setProperty ("rowEnabled1", true, nullptr);
    pattern.getChild (9).setProperty ("value", 6, nullptr);

    for (int i = 0; i < 7; ++i)
        p.process (notesAt ({ { 60, 0 } }));
    EXPECT_EQ (p.processor.engine.lastStep.load(), 8);

    p.process (notesAt ({ { 60, 0 } }));
    EXPECT_EQ (p.processor.engine.lastStep.load(), 9);
    EXPECT_EQ (p.processor.engine.lastVariation.load(), 5);

    // A state tree replaced as a whole is followed too.
    auto replacement = p.processor.parameters.state.createCopy();
    auto replacedPattern = replacement.getChildWithName ("SequencerState");
    replacedPattern.setProperty ("rowEnabled1", false, nullptr);
    replacedPattern.getChild (1).setProperty ("value", 7, nullptr);
    p.processor.parameters.replaceState (replacement);
    p.processor.sequencer.requestStep (0);

    p.process (notesAt ({ { 60, 0 } }));
    EXPECT_EQ (p.processor.engine.lastStep.load(), 1);
    EXPECT_EQ (p.processor.engine.lastVariation.load(), 6);
}

TEST (StepCursor, TriggerCountIsMirroredIntoTheTree)
{
    PreparedProcessor p;
    for (int i = 0; i < 10; ++i)
        p.process (notesAt ({ { 40 + i, 0 } }));

    EXPECT_EQ (p.processor.engine.playbackCounter.load(), 10);
    pumpMessages();
    EXPECT_EQ ((int) p.processor.parameters.state["variationPlaybackIndex"], 10);
}
