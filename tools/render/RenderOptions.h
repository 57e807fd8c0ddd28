#pragma once

#include <juce_core/juce_core.h>

#include <optional>

// What tessaline-render was asked to do, read from its command line.
struct RenderOptions
{
    struct SlotFile
    {
        int variation, slot; // counted from 0
        juce::File file;
    };

    bool help = false;
    bool demo = false;
    juce::File bundle;
    std::optional<juce::File> mainFile;
    std::vector<SlotFile> slotFiles;
    std::optional<juce::String> notes;
    std::optional<juce::File> midiFile;
    std::vector<std::pair<juce::String, juce::String>> settings; // parameter ID, value as typed
    std::optional<juce::File> stateFile, saveStateFile, outFile, pngFile;
    double sampleRate = 48000.0;
    int blockSize = 512;
    double tailSeconds = 2.0;
    int bits = 24;

    // Returns nothing, and says why in `error`, when the command line cannot be used.
    static std::optional<RenderOptions> parse (const juce::StringArray& arguments, const juce::File& defaultBundle,
                                               juce::String& error);

    static const char* const usage;
};
