#include "components/Sequencer.h"

#include "BinaryData.h"
#include "processor/SequencerState.h"

namespace
{
    constexpr float rowSpacing = 41.85f;
    constexpr float firstRowY = 157.3f;
    constexpr int toggleX = 188, toggleSize = 13;

    // y of row r, in single precision: 157, 199, 241 and 282 once truncated.
    float rowY (int row) { return (float) row * rowSpacing + firstRowY; }
}

Sequencer::Sequencer (juce::AudioProcessorValueTreeState& state)
    : sequencerState (SequencerState::findOrCreate (state.state))
{
    for (int row = 0; row < SequencerState::numRows; ++row)
        rowEnabledFlags[(size_t) row] = SequencerState::isRowEnabled (sequencerState, row);

    for (int i = 0; i < SequencerState::numSteps; ++i)
    {
        const auto pad = sequencerState.getChild (i);
        if (! pad.isValid())
            continue;

        const auto enabled = rowEnabledFlags[(size_t) (i / SequencerState::stepsPerRow)];
        auto* step = steps.add (new SequencerStep (pad));
        addAndMakeVisible (step);
        step->setAlpha (enabled ? 1.0f : 0.5f);
        step->setEnabled (enabled);
    }

    const auto power = juce::ImageCache::getFromMemory (BinaryData::powerIcon, BinaryData::powerIconSize);
    for (int row = 1; row < SequencerState::numRows; ++row)
    {
        auto toggle = std::make_unique<juce::ImageButton> ("rowToggle" + juce::String (row));
        addAndMakeVisible (*toggle);
        toggle->setClickingTogglesState (true);
        toggle->setMouseCursor (juce::MouseCursor::PointingHandCursor);
        toggle->setImages (true, true, true, power, 1.0f, juce::Colours::transparentBlack, power, 1.0f,
                           juce::Colours::transparentBlack, power, 1.0f, juce::Colours::transparentBlack, 0.0f);
        toggle->setToggleState (rowEnabledFlags[(size_t) row], juce::dontSendNotification);
        toggle->setAlpha (rowEnabledFlags[(size_t) row] ? 1.0f : 0.5f);
        toggle->onClick = [this, row] { switchRow (row); };
        rowToggles[(size_t) row] = std::move (toggle);
    }

    setSize (800, 500);
}

void Sequencer::switchRow (int row)
{
    auto& toggle = *rowToggles[(size_t) row];
    const auto enabled = toggle.getToggleState();
    toggle.setAlpha (enabled ? 1.0f : 0.5f);
    setRowEnabled (row, enabled);
}

void Sequencer::setRowEnabled (int row, bool enabled)
{
    rowEnabledFlags[(size_t) row] = enabled;

    for (int i = row * SequencerState::stepsPerRow; i < (row + 1) * SequencerState::stepsPerRow && i < steps.size(); ++i)
    {
        steps[i]->setEnabled (enabled);
        steps[i]->setAlpha (enabled ? 1.0f : 0.5f);
    }

    sequencerState.setProperty (SequencerState::rowEnabledKey (row), enabled, nullptr);

    if (onRowEnabledChanged)
        onRowEnabledChanged (row, enabled);
}

void Sequencer::resized()
{
    for (int i = 0; i < steps.size(); ++i)
        steps[i]->setBounds (columnX[(size_t) (i % 8)], (int) rowY (i / 8), stepSize, stepSize);

    for (int row = 1; row < SequencerState::numRows; ++row)
        if (rowToggles[(size_t) row] != nullptr)
            rowToggles[(size_t) row]->setBounds (toggleX, (int) (rowY (row) + 10.0f), toggleSize, toggleSize);
}
