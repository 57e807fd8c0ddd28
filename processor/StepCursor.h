#pragma once

#include "processor/SequencerState.h"

#include <array>
#include <atomic>
#include <climits>

// The playback step cursor. It walks the steps of the enabled rows, one step per note-on.
//
// The audio thread never reads the ValueTree: the message thread (or a thread restoring a state)
// copies the pads and row switches into the atomics below whenever the pattern changes, and the
// audio thread reads only those. Requests to move the cursor (a rewind, a restored state) are
// stored atomically and taken up by the audio thread at its next advance.
class StepCursor
{
public:
    StepCursor();

    //==============================================================================
    // Any thread but the audio thread.

    // Copies the pad values, the step count and the row switches from a "SequencerState" tree.
    void readPattern (const juce::ValueTree& sequencerState);

    // The next advance continues from `step`: -1 plays the first enabled step, 0 the one after step 0.
    void requestStep (int step) noexcept;

    //==============================================================================
    // Audio thread only.

    // Moves to the next enabled step and returns it; with no row enabled the current step repeats.
    int advance() noexcept;

    // The one-based variation stored in a step's pad, or 0 when the step has no pad.
    int padValue (int step) const noexcept;

private:
    static constexpr int noRequest = INT_MIN;

    // Written by the pattern's writers, read by the audio thread.
    std::array<std::atomic<int>, SequencerState::numSteps> padValues;
    std::array<std::atomic<bool>, SequencerState::numRows> rowSwitches;
    std::atomic<int> stepCount { 0 };
    std::atomic<int> requestedStep { noRequest };

    // Audio thread.
    int currentStep = 0;
    std::array<bool, SequencerState::numRows> rowEnabledFlags { true, true, true, true };
};
