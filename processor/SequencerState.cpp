#include "processor/SequencerState.h"

namespace SequencerState
{
juce::Identifier rowEnabledKey (int row)
{
    return "rowEnabled" + juce::String (row);
}

bool isRowEnabled (const juce::ValueTree& sequencerState, int row)
{
    return sequencerState.getProperty (rowEnabledKey (row), defaultRowEnabled (row));
}

juce::ValueTree createDefault()
{
    juce::ValueTree tree (type);

    for (int i = 0; i < numSteps; ++i)
        tree.appendChild (juce::ValueTree (pad, { { index, i }, { value, (i % stepsPerRow) + 1 } }), nullptr);

    for (int row = 0; row < numRows; ++row)
        tree.setProperty (rowEnabledKey (row), defaultRowEnabled (row), nullptr);

    return tree;
}

juce::ValueTree findOrCreate (juce::ValueTree& root)
{
    auto existing = root.getChildWithName (type);
    if (existing.isValid())
        return existing;

    auto created = createDefault();
    root.appendChild (created, nullptr);
    return created;
}
}
