#include "processor/SampleSlots.h"

std::unique_ptr<SampleSlots::Sample> SampleSlots::decodeFile (const juce::File& file)
{
    if (file.getFullPathName().isEmpty() || ! file.existsAsFile())
        return {};

    juce::AudioFormatManager formats;
    formats.registerBasicFormats();

    const std::unique_ptr<juce::AudioFormatReader> reader (formats.createReaderFor (file));
    if (reader == nullptr || reader->numChannels < 1
        || ! juce::isPositiveAndNotGreaterThan (reader->lengthInSamples, (juce::int64) std::numeric_limits<int>::max()))
        return {};

    const auto numSamples = (int) reader->lengthInSamples;

    try
    {
        auto audio = std::make_unique<Sample> ((int) reader->numChannels, numSamples);
        audio->clear();
        reader->read (audio.get(), 0, numSamples, 0, true, true);
        return audio;
    }
    catch (const std::bad_alloc&)
    {
        return {};
    }
}

void SampleSlots::freeRetired()
{
    mainSample.freeRetired();

    for (auto& variation : slots)
        for (auto& handover : variation)
            handover.freeRetired();
}

namespace SlotRecords
{
namespace
{
    juce::Identifier slotKey (int variation, int slot, const char* infix, const char* suffix)
    {
        return "variation" + juce::String (variation) + infix + juce::String (slot) + suffix;
    }
}

juce::Identifier filePathKey (int variation, int slot) { return slotKey (variation, slot, "slot", "FilePath"); }
juce::Identifier binaryKey (int variation, int slot) { return slotKey (variation, slot, "_slot", "_binary"); }
juce::Identifier numChannelsKey (int variation, int slot) { return slotKey (variation, slot, "_slot", "_numCh"); }
juce::Identifier numSamplesKey (int variation, int slot) { return slotKey (variation, slot, "_slot", "_numSm"); }
}
