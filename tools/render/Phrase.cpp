#include "Phrase.h"

std::optional<Phrase> Phrase::fromText (const juce::String& text, juce::String& error)
{
    Phrase phrase;
    double time = -defaultSpacing;

    for (const auto& entry : juce::StringArray::fromTokens (text, ",", ""))
    {
        const auto trimmed = entry.trim();
        const auto noteText = trimmed.upToFirstOccurrenceOf ("@", false, false).trim();
        const auto timeText = trimmed.contains ("@") ? trimmed.fromFirstOccurrenceOf ("@", false, false).trim() : juce::String();
        const auto seconds = timeText.trimCharactersAtEnd ("s");

        if (noteText.isEmpty() || ! noteText.containsOnly ("0123456789") || noteText.getIntValue() > 127
            || (timeText.isNotEmpty() && (seconds.isEmpty() || ! seconds.containsOnly ("0123456789.") || seconds.getDoubleValue() < time)))
        {
            error = "bad note '" + trimmed + "' in --notes (expected NOTE or NOTE@SECONDS, times in order, notes 0 to 127)";
            return {};
        }

        time = timeText.isNotEmpty() ? seconds.getDoubleValue() : time + defaultSpacing;
        phrase.notes.push_back ({ noteText.getIntValue(), time, defaultSpacing });
    }

    if (phrase.notes.empty())
    {
        error = "--notes holds no note";
        return {};
    }

    for (size_t i = 0; i + 1 < phrase.notes.size(); ++i)
        phrase.notes[i].length = juce::jmin (defaultSpacing, phrase.notes[i + 1].start - phrase.notes[i].start);

    return phrase;
}

std::optional<Phrase> Phrase::fromMidiFile (const juce::File& file, juce::String& error)
{
    juce::FileInputStream stream (file);
    juce::MidiFile midi;

    if (! stream.openedOk() || ! midi.readFrom (stream))
    {
        error = "cannot read MIDI file " + file.getFullPathName();
        return {};
    }

    midi.convertTimestampTicksToSeconds();
    Phrase phrase;

    for (int t = 0; t < midi.getNumTracks(); ++t)
    {
        const auto& track = *midi.getTrack (t);
        for (int i = 0; i < track.getNumEvents(); ++i)
        {
            const auto& message = track.getEventPointer (i)->message;
            if (! message.isNoteOn())
                continue;

            const auto off = track.getTimeOfMatchingKeyUp (i);
            const auto start = message.getTimeStamp();
            phrase.notes.push_back ({ message.getNoteNumber(), start, off > start ? off - start : defaultSpacing });
        }
    }

    if (phrase.notes.empty())
    {
        error = "the MIDI file " + file.getFullPathName() + " holds no note";
        return {};
    }

    std::stable_sort (phrase.notes.begin(), phrase.notes.end(), [] (const Note& a, const Note& b) { return a.start < b.start; });
    return phrase;
}

double Phrase::getEndSeconds() const
{
    double end = 0.0;
    for (const auto& note : notes)
        end = juce::jmax (end, note.start + note.length);
    return end;
}

juce::MidiBuffer Phrase::toMidi (double sampleRate) const
{
    juce::MidiBuffer midi;
    const auto toSample = [sampleRate] (double seconds) { return (int) std::lround (seconds * sampleRate); };

    // Note-offs go in first, so that a note-off at the same sample as the next note-on comes before it.
    for (const auto& note : notes)
        midi.addEvent (juce::MidiMessage::noteOff (1, note.number), toSample (note.start + note.length));
    for (const auto& note : notes)
        midi.addEvent (juce::MidiMessage::noteOn (1, note.number, (juce::uint8) 100), toSample (note.start));

    return midi;
}
