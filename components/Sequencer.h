#pragma once

#include "components/SequencerStep.h"

#include <juce_audio_processors/juce_audio_processors.h>

// The step grid of the SEQUENCER page: 32 steps in four rows of eight, each editing its "Pad",
// and a switch for each of rows 1 to 3 that takes the row in or out of the sequence.
class Sequencer : public juce::Component
{
public:
    explicit Sequencer (juce::AudioProcessorValueTreeState& state);

    void paint (juce::Graphics&) override {}
    void resized() override;

    // Switches a row (0 to 3) on or off: its steps' opacity and enablement, the tree's
    // "rowEnabled" property, then `onRowEnabledChanged`. The row's switch is left as it is.
    void setRowEnabled (int row, bool enabled);

    std::function<void (int, bool)> onRowEnabledChanged;
    juce::OwnedArray<SequencerStep> steps;
    std::array<bool, 4> rowEnabledFlags {};
    int currentStep = 0;
    std::array<std::unique_ptr<juce::ImageButton>, 4> rowToggles; // index 0 stays empty; destroyed before the steps

private:
    void switchRow (int row);

    juce::ValueTree sequencerState;

    static constexpr int stepSize = 38;
    static constexpr std::array<int, 8> columnX { 228, 272, 316, 360, 403, 447, 491, 534 };
};
