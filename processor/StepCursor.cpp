#include "processor/StepCursor.h"

StepCursor::StepCursor()
{
    for (auto& value : padValues)
        value = 0;

    for (size_t row = 0; row < rowSwitches.size(); ++row)
        rowSwitches[row] = SequencerState::defaultRowEnabled ((int) row);
}

void StepCursor::readPattern (const juce::ValueTree& sequencerState)
{
    const auto count = juce::jmin (sequencerState.getNumChildren(), SequencerState::numSteps);

    for (int step = 0; step < SequencerState::numSteps; ++step)
        padValues[(size_t) step] = step < count ? (int) sequencerState.getChild (step).getProperty (SequencerState::value, 0) : 0;

    for (int row = 0; row < SequencerState::numRows; ++row)
        rowSwitches[(size_t) row] = SequencerState::isRowEnabled (sequencerState, row);

    stepCount = count;
}

void StepCursor::requestStep (int step) noexcept
{
    requestedStep = step;
}

int StepCursor::advance() noexcept
{
    if (const auto requested = requestedStep.exchange (noRequest); requested != noRequest)
        currentStep = requested;

    for (size_t row = 0; row < rowEnabledFlags.size(); ++row)
        rowEnabledFlags[row] = rowSwitches[row].load();

    // The enabled steps in ascending order; the next one follows the current step, or is the
    // first one when the current step is not among them.
    const auto count = stepCount.load();
    const auto isEnabled = [this] (int step) { return rowEnabledFlags[(size_t) (step / SequencerState::stepsPerRow)]; };

    int first = -1;
    bool currentSeen = false;

    for (int step = 0; step < count; ++step)
    {
        if (! isEnabled (step))
            continue;

        if (currentSeen)
            return currentStep = step;

        if (first < 0)
            first = step;

        currentSeen = step == currentStep;
    }

    if (first >= 0)
        currentStep = first;

    return currentStep;
}

int StepCursor::padValue (int step) const noexcept
{
    return juce::isPositiveAndBelow (step, stepCount.load()) ? padValues[(size_t) step].load() : 0;
}
