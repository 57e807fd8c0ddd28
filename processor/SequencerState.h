#pragma once

#include <juce_data_structures/juce_data_structures.h>

// The step pattern: a "SequencerState" child of the parameter state's root holding 32 "Pad"
// children (one per step, each naming the one-based variation it plays) and four row switches.
namespace SequencerState
{
    inline const juce::Identifier type { "SequencerState" };
    inline const juce::Identifier pad { "Pad" };
    inline const juce::Identifier index { "index" };
    inline const juce::Identifier value { "value" };

    inline constexpr int numSteps = 32;
    inline constexpr int numRows = 4;
    inline constexpr int stepsPerRow = 8;

    // "rowEnabled0" to "rowEnabled3"
    juce::Identifier rowEnabledKey (int row);

    // What a missing row switch reads as: row 0 on, the others off.
    inline bool defaultRowEnabled (int row) noexcept { return row == 0; }

    bool isRowEnabled (const juce::ValueTree& sequencerState, int row);

    // Pads playing variations 1 to 8 in every row, only row 0 enabled.
    juce::ValueTree createDefault();

    // The root's "SequencerState" child; the default pattern is appended first when it is missing.
    juce::ValueTree findOrCreate (juce::ValueTree& root);
}
