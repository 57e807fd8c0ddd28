#include "RenderOptions.h"

const char* const RenderOptions::usage =
    "Usage: tessaline-render [OPTIONS]\n"
    "\n"
    "Loads the Tessaline VST3 bundle as a host would, sets up its samples and parameters,\n"
    "plays notes into it and writes what it returns.\n"
    "\n"
    "Sound:\n"
    "  --demo                 the built-in demo kit and phrase (no files needed)\n"
    "  --main FILE            the main sample (WAV, AIFF, FLAC, Ogg Vorbis, MP3)\n"
    "  --slot V.S=FILE        slot S (1-3) of variation V (1-8); may be repeated\n"
    "  --set NAME=VALUE       a parameter by its ID, in its own units, e.g. --set mix=75\n"
    "                         or --set sound_0_echo_attribute=250; may be repeated\n"
    "  --state FILE           start from a saved plug-in state\n"
    "  --save-state FILE      write the plug-in's state, as a host stores it, before playing\n"
    "\n"
    "Notes (one of):\n"
    "  --notes LIST           e.g. \"36,38@0.5s,43@1.25s\": note numbers, each optionally at a\n"
    "                         time in seconds; a note without a time comes 0.5 s after the\n"
    "                         one before; notes are held 0.5 s or until the next one\n"
    "  --midi FILE            the notes of a standard MIDI file\n"
    "\n"
    "Rendering:\n"
    "  --bundle PATH          the VST3 bundle (default: ~/.vst3/Tessaline.vst3, else the\n"
    "                         bundle of this build)\n"
    "  --rate HZ              sample rate, 8000 to 192000 (default 48000)\n"
    "  --block SAMPLES        block size, 16 to 8192 (default 512)\n"
    "  --tail SECONDS         time rendered after the last note ends (default 2)\n"
    "\n"
    "Output (at least one):\n"
    "  --out FILE.wav         the audio, stereo\n"
    "  --bits 24|32           24-bit PCM (default) or 32-bit float\n"
    "  --png FILE.png         a waveform overview of the audio\n"
    "\n"
    "  -h, --help             this text\n"
    "\n"
    "Exit status: 0 when everything was written, 1 when the plug-in or a file failed,\n"
    "2 for a command line that cannot be used. Nothing is written unless all of it is.\n";

namespace
{
    bool isNumber (const juce::String& text)
    {
        const auto trimmed = text.trim();
        return trimmed.isNotEmpty() && trimmed.trimCharactersAtStart ("+-").containsOnly ("0123456789.")
               && trimmed.containsAnyOf ("0123456789");
    }

    juce::File fileFrom (const juce::String& path)
    {
        return juce::File::getCurrentWorkingDirectory().getChildFile (path);
    }

    // "V.S=FILE", V and S counted from 1.
    std::optional<RenderOptions::SlotFile> parseSlot (const juce::String& text)
    {
        const auto index = text.upToFirstOccurrenceOf ("=", false, false);
        const auto path = text.fromFirstOccurrenceOf ("=", false, false);
        const auto variation = index.upToFirstOccurrenceOf (".", false, false);
        const auto slot = index.fromFirstOccurrenceOf (".", false, false);

        if (! text.contains ("=") || path.isEmpty() || ! index.contains (".")
            || variation.isEmpty() || ! variation.containsOnly ("0123456789") || slot.isEmpty() || ! slot.containsOnly ("0123456789")
            || ! juce::isPositiveAndNotGreaterThan (variation.getIntValue() - 1, 7)
            || ! juce::isPositiveAndNotGreaterThan (slot.getIntValue() - 1, 2))
            return {};

        return RenderOptions::SlotFile { variation.getIntValue() - 1, slot.getIntValue() - 1, fileFrom (path) };
    }
}

std::optional<RenderOptions> RenderOptions::parse (const juce::StringArray& arguments, const juce::File& defaultBundle,
                                                   juce::String& error)
{
    RenderOptions options;
    options.bundle = defaultBundle;

    for (int i = 0; i < arguments.size(); ++i)
    {
        auto name = arguments[i];
        juce::String value;
        bool hasValue = false;

        if (name.startsWith ("--") && name.contains ("="))
        {
            value = name.fromFirstOccurrenceOf ("=", false, false);
            name = name.upToFirstOccurrenceOf ("=", false, false);
            hasValue = true;
        }

        const auto takeValue = [&] () -> bool
        {
            if (hasValue)
                return true;
            if (i + 1 >= arguments.size())
            {
                error = name + " needs a value";
                return false;
            }
            value = arguments[++i];
            return true;
        };

        if (name == "-h" || name == "--help")
        {
            options.help = true;
        }
        else if (name == "--demo")
        {
            options.demo = true;
        }
        else if (name == "--bundle" || name == "--main" || name == "--midi" || name == "--state" || name == "--save-state"
                 || name == "--out" || name == "--png")
        {
            if (! takeValue())
                return {};
            const auto file = fileFrom (value);

            if (name == "--bundle")
                options.bundle = file;
            else if (name == "--main")
                options.mainFile = file;
            else if (name == "--midi")
                options.midiFile = file;
            else if (name == "--state")
                options.stateFile = file;
            else if (name == "--save-state")
                options.saveStateFile = file;
            else if (name == "--out")
                options.outFile = file;
            else
                options.pngFile = file;
        }
        else if (name == "--slot")
        {
            if (! takeValue())
                return {};
            const auto slot = parseSlot (value);
            if (! slot)
            {
                error = "bad slot '" + value + "': expected V.S=FILE with variation V 1 to 8 and slot S 1 to 3";
                return {};
            }
            options.slotFiles.push_back (*slot);
        }
        else if (name == "--set")
        {
            if (! takeValue())
                return {};
            const auto id = value.upToFirstOccurrenceOf ("=", false, false).trim();
            const auto number = value.fromFirstOccurrenceOf ("=", false, false).trim();
            if (! value.contains ("=") || id.isEmpty() || ! isNumber (number))
            {
                error = "bad setting '" + value + "': expected NAME=NUMBER";
                return {};
            }
            options.settings.emplace_back (id, number);
        }
        else if (name == "--notes")
        {
            if (! takeValue())
                return {};
            options.notes = value;
        }
        else if (name == "--rate" || name == "--block" || name == "--tail" || name == "--bits")
        {
            if (! takeValue())
                return {};
            if (! isNumber (value))
            {
                error = name + " needs a number, not '" + value + "'";
                return {};
            }

            const auto number = value.getDoubleValue();
            if (name == "--rate" && (number < 8000.0 || number > 192000.0))
                error = "--rate must be between 8000 and 192000 Hz";
            else if (name == "--block" && (number < 16.0 || number > 8192.0 || number != std::floor (number)))
                error = "--block must be a whole number of samples between 16 and 8192";
            else if (name == "--tail" && (number < 0.0 || number > 60.0))
                error = "--tail must be between 0 and 60 seconds";
            else if (name == "--bits" && number != 24.0 && number != 32.0)
                error = "--bits must be 24 or 32";

            if (error.isNotEmpty())
                return {};

            if (name == "--rate")
                options.sampleRate = number;
            else if (name == "--block")
                options.blockSize = (int) number;
            else if (name == "--tail")
                options.tailSeconds = number;
            else
                options.bits = (int) number;
        }
        else
        {
            error = "unknown option '" + name + "'";
            return {};
        }
    }

    if (options.help)
        return options;

    if (options.notes && options.midiFile)
        error = "give either --notes or --midi, not both";
    else if (! options.demo && ! options.notes && ! options.midiFile)
        error = "nothing to play: give --notes, --midi or --demo";
    else if (! options.outFile && ! options.pngFile && ! options.saveStateFile)
        error = "nothing to write: give --out, --png or --save-state";
    else if (options.outFile && ! options.outFile->hasFileExtension ("wav"))
        error = "--out must name a .wav file";
    else if (options.pngFile && ! options.pngFile->hasFileExtension ("png"))
        error = "--png must name a .png file";

    if (error.isNotEmpty())
        return {};

    return options;
}
