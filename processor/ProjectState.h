#pragma once

#include <juce_core/juce_core.h>

// Reading the saved-state blob: a 4-byte magic number, the XML text's length, the text (UTF-8,
// single line) and a zero byte, all integers little-endian. Writing it is the framework's
// AudioProcessor::copyXmlToBinary.
namespace ProjectState
{
    inline constexpr juce::uint32 magicNumber = 0x21324356;
    inline constexpr int headerSize = 8; // magic and length, before the text

    // The XML of a blob, or null when the blob is too short, has another magic number, a length
    // that is not positive, text that is not valid UTF-8, or text that does not parse. A length
    // beyond the blob's end takes the text that is there.
    std::unique_ptr<juce::XmlElement> parse (const void* data, int sizeInBytes);

    // False when a sample record's channel or frame count is not a decimal number, or the two
    // describe more than a 32-bit number of samples: the state is damaged.
    bool hasValidSampleCounts (const juce::XmlElement& xml);
}
