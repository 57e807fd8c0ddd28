#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// What the two sample buttons share: which files they accept, which of the dropped files they
// try, and the file dialog.
namespace SampleFiles
{
    // True when at least one path ends in .wav, .mp3, .aiff or .flac, in any letter case.
    bool isInterestedIn (const juce::StringArray& paths);

    // The first path that names an existing file that is not a folder; it is the only one tried.
    std::optional<juce::File> firstExistingFile (const juce::StringArray& paths);

    // Opens the file dialog; `chosen` runs with an existing file, and not at all when cancelled.
    void choose (std::function<void (const juce::File&)> chosen);

    enum ButtonState { Idle = 0, Hover = 1, Loaded = 2 };
}
