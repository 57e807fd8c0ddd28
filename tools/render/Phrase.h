#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <optional>

// The notes to play: note numbers with their start times and lengths in seconds.
struct Phrase
{
    struct Note
    {
        int number;
        double start, length;
    };

    std::vector<Note> notes;

    // "36,38@0.5s,40@1.2": a note without a time starts half a second after the one before (the
    // first at 0). Each note is held for half a second, or until the next note starts.
    static std::optional<Phrase> fromText (const juce::String& text, juce::String& error);

    // The note-ons and note-offs of every track of a standard MIDI file, at their times in seconds.
    static std::optional<Phrase> fromMidiFile (const juce::File& file, juce::String& error);

    double getEndSeconds() const;
    juce::MidiBuffer toMidi (double sampleRate) const;

    static constexpr double defaultSpacing = 0.5;
};
