#pragma once

#include "processor/Handover.h"
#include "processor/Parameters.h"

#include <juce_audio_formats/juce_audio_formats.h>

// The audio the plug-in plays: the main sample and the three slots of each of the eight
// variations. Each is handed to the audio thread whole (see Handover): the audio thread sees the
// old buffer or the new one, never one being replaced.
class SampleSlots
{
public:
    using Sample = juce::AudioBuffer<float>;

    // Decodes a whole audio file, keeping its channel count and frames as they are (no resampling).
    // Returns null when the path is empty, the file is missing or is a directory, no decoder
    // accepts it, it has no channels, or its frame count does not fit a 32-bit signed int.
    static std::unique_ptr<Sample> decodeFile (const juce::File& file);

    Handover<Sample>& main() noexcept { return mainSample; }
    Handover<Sample>& slot (int variation, int slot) noexcept { return slots[(size_t) variation][(size_t) slot]; }

    // Producer side: frees every buffer the audio thread has given up.
    void freeRetired();

private:
    Handover<Sample> mainSample;
    std::array<std::array<Handover<Sample>, Parameters::slotsPerVariation>, Parameters::numVariations> slots;
};

// The records of loaded samples, as properties of the parameter state's root. Indices are
// zero-based: slot 2 of variation 3 is "variation3slot2FilePath", "variation3_slot2_binary", ...
namespace SlotRecords
{
    juce::Identifier filePathKey (int variation, int slot);
    juce::Identifier binaryKey (int variation, int slot);
    juce::Identifier numChannelsKey (int variation, int slot);
    juce::Identifier numSamplesKey (int variation, int slot);

    inline const juce::Identifier mainSampleNumCh { "mainSampleNumCh" };
    inline const juce::Identifier mainSampleNumSamples { "mainSampleNumSamples" };
    inline const juce::Identifier mainSampleLoaded { "mainSampleLoaded" };
}
