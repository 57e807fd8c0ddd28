#include "processor/ProjectState.h"

#include "processor/Parameters.h"
#include "processor/SampleSlots.h"

#include <algorithm>

namespace ProjectState
{
namespace
{
    // A sample count as stored: absent, or decimal digits that fit an int.
    bool isValidCount (const juce::XmlElement& xml, const juce::Identifier& key)
    {
        if (! xml.hasAttribute (key.toString()))
            return true;

        const auto text = xml.getStringAttribute (key).trim();
        return text.isNotEmpty() && text.length() <= 10 && text.containsOnly ("0123456789")
               && text.getLargeIntValue() <= std::numeric_limits<int>::max();
    }

    // Channel and frame counts that describe at most a 32-bit number of samples.
    bool areValidCounts (const juce::XmlElement& xml, const juce::Identifier& channelsKey, const juce::Identifier& framesKey)
    {
        if (! isValidCount (xml, channelsKey) || ! isValidCount (xml, framesKey))
            return false;

        const auto channels = xml.getStringAttribute (channelsKey).getLargeIntValue();
        const auto frames = xml.getStringAttribute (framesKey).getLargeIntValue();
        return channels * frames <= std::numeric_limits<int>::max();
    }
}

std::unique_ptr<juce::XmlElement> parse (const void* data, int sizeInBytes)
{
    if (data == nullptr || sizeInBytes <= headerSize)
        return {};

    const auto* bytes = static_cast<const char*> (data);
    if (juce::ByteOrder::littleEndianInt (bytes) != magicNumber)
        return {};

    const auto length = (int) juce::ByteOrder::littleEndianInt (bytes + 4);
    if (length <= 0)
        return {};

    // The text ends at the first zero byte. JUCE's XML parser steps over the end of malformed
    // UTF-8, so text that is not valid UTF-8 is refused before it is parsed.
    const auto* text = bytes + headerSize;
    const auto available = (size_t) juce::jmin (length, sizeInBytes - headerSize);
    const auto textLength = (int) (std::find (text, text + available, '\0') - text);

    if (! juce::CharPointer_UTF8::isValidString (text, textLength))
        return {};

    return juce::parseXML (juce::String::fromUTF8 (text, textLength));
}

bool hasValidSampleCounts (const juce::XmlElement& xml)
{
    if (! areValidCounts (xml, SlotRecords::mainSampleNumCh, SlotRecords::mainSampleNumSamples))
        return false;

    for (int v = 0; v < Parameters::numVariations; ++v)
        for (int s = 0; s < Parameters::slotsPerVariation; ++s)
            if (! areValidCounts (xml, SlotRecords::numChannelsKey (v, s), SlotRecords::numSamplesKey (v, s)))
                return false;

    return true;
}
}
