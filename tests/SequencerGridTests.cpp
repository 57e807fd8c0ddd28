#include "TestSupport.h"

#include "components/Sequencer.h"

using namespace TestSupport;

namespace
{
    juce::ValueTree patternOf (TessalineAudioProcessor& processor)
    {
        return processor.parameters.state.getChildWithName ("SequencerState");
    }
}

TEST (SequencerGrid, AFreshPatternShowsOneToEightInEveryRowWithOnlyRowZeroOn)
{
    TessalineAudioProcessor processor;
    Sequencer grid (processor.parameters);

    ASSERT_EQ (grid.steps.size(), 32);
    EXPECT_EQ (grid.getBounds(), juce::Rectangle<int> (0, 0, 800, 500));
    for (int i = 0; i < 32; ++i)
    {
        SCOPED_TRACE (i);
        EXPECT_EQ (grid.steps[i]->getLabel().getText(), juce::String (i % 8 + 1));
        EXPECT_NEAR (grid.steps[i]->getAlpha(), i < 8 ? 1.0f : 0.5f, 0.01f);
        EXPECT_EQ (grid.steps[i]->isEnabled(), i < 8);
    }

    EXPECT_EQ (grid.rowToggles[0], nullptr);
    for (int row = 1; row < 4; ++row)
    {
        EXPECT_EQ (grid.rowToggles[(size_t) row]->getName(), "rowToggle" + juce::String (row));
        EXPECT_FALSE (grid.rowToggles[(size_t) row]->getToggleState());
    }

    // Places: columns from 228, rows at 157, 199, 241 and 282; switches 10 below their row's top.
    EXPECT_EQ (grid.steps[0]->getBounds(), juce::Rectangle<int> (228, 157, 38, 38));
    EXPECT_EQ (grid.steps[12]->getBounds(), juce::Rectangle<int> (403, 199, 38, 38));
    EXPECT_EQ (grid.steps[31]->getBounds(), juce::Rectangle<int> (534, 282, 38, 38));
    EXPECT_EQ (grid.rowToggles[1]->getBounds(), juce::Rectangle<int> (188, 209, 13, 13));
    EXPECT_EQ (grid.rowToggles[3]->getBounds(), juce::Rectangle<int> (188, 292, 13, 13));
}

TEST (SequencerGrid, TypedValuesAreLimitedToOneToEight)
{
    TessalineAudioProcessor processor;
    Sequencer grid (processor.parameters);
    auto pad = patternOf (processor).getChild (5);
    auto& label = grid.steps[5]->getLabel();

    const std::pair<const char*, int> cases[] { { "9", 8 }, { "12", 8 }, { "0", 1 }, { "-3", 1 }, { "abc", 1 },
                                                { "5x", 5 }, { "4 and more", 4 }, { " 7 ", 7 }, { "2", 2 }, { "1", 1 } };
    for (const auto& [text, expected] : cases)
    {
        SCOPED_TRACE (text);
        label.setText (text, juce::sendNotificationSync);
        EXPECT_EQ ((int) pad["value"], expected);
        EXPECT_EQ (label.getText(), juce::String (expected));
    }
}

TEST (SequencerGrid, ShowsValuesWrittenByOthersUnlimited)
{
    TessalineAudioProcessor processor;
    Sequencer grid (processor.parameters), other (processor.parameters);
    auto pad = patternOf (processor).getChild (9);

    pad.setProperty ("value", 3, nullptr);
    EXPECT_EQ (grid.steps[9]->getLabel().getText(), "3");
    pad.setProperty ("value", 12, nullptr);
    EXPECT_EQ (grid.steps[9]->getLabel().getText(), "12");

    // An edit in one grid shows in the other.
    grid.steps[9]->getLabel().setText ("6", juce::sendNotificationSync);
    EXPECT_EQ (other.steps[9]->getLabel().getText(), "6");
}

TEST (SequencerGrid, RowSwitchesChangeStepsTreeAndCallback)
{
    TessalineAudioProcessor processor;
    Sequencer grid (processor.parameters);
    std::vector<std::pair<int, bool>> reported;
    grid.onRowEnabledChanged = [&reported] (int row, bool enabled) { reported.emplace_back (row, enabled); };

    for (const auto enabled : { true, false })
    {
        SCOPED_TRACE (enabled);
        grid.rowToggles[2]->triggerClick();
        pumpMessages (20);

        EXPECT_EQ (grid.rowToggles[2]->getToggleState(), enabled);
        EXPECT_NEAR (grid.rowToggles[2]->getAlpha(), enabled ? 1.0f : 0.5f, 0.01f);
        for (int i = 16; i < 24; ++i)
        {
            EXPECT_EQ (grid.steps[i]->isEnabled(), enabled);
            EXPECT_NEAR (grid.steps[i]->getAlpha(), enabled ? 1.0f : 0.5f, 0.01f);
        }
        EXPECT_EQ ((bool) patternOf (processor)["rowEnabled2"], enabled);
        EXPECT_EQ (reported.back(), std::make_pair (2, enabled));
        EXPECT_EQ (grid.rowEnabledFlags[2], enabled);
    }

}

TEST (SequencerGrid, AReloadedProjectOpensWithItsRowsOn)
{
    TessalineAudioProcessor processor;
    patternOf (processor).setProperty ("rowEnabled1", true, nullptr);
    Sequencer grid (processor.parameters);

    EXPECT_TRUE (grid.rowToggles[1]->getToggleState());
    EXPECT_NEAR (grid.rowToggles[1]->getAlpha(), 1.0f, 0.01f);
    EXPECT_NEAR (grid.steps[8]->getAlpha(), 1.0f, 0.01f);
    EXPECT_TRUE (grid.steps[15]->isEnabled());
    EXPECT_FALSE (grid.rowToggles[2]->getToggleState());
}

TEST (SequencerGrid, ThePlayingStepIsFilledDarkPurple)
{
    TessalineAudioProcessor processor;
    Sequencer grid (processor.parameters);
    auto& step = *grid.steps[3];

    EXPECT_LT (snapshot (step).getPixelAt (10, 19).getAlpha(), 20);
    step.isPlaying = true;
    const auto playing = snapshot (step);
    EXPECT_EQ (playing.getPixelAt (10, 19), juce::Colour (0xff3a104a));
    EXPECT_GT (playing.getPixelAt (19, 0).getBrightness(), 0.5f); // white outline on top
}
