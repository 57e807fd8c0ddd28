#include "editor/EditorFonts.h"

#include "BinaryData.h"

namespace EditorFonts
{
juce::Typeface::Ptr regularTypeface()
{
    static const auto typeface = juce::Typeface::createSystemTypefaceFor (BinaryData::dmSansRegular, BinaryData::dmSansRegularSize);
    return typeface;
}

juce::Font regular (float height, float extraKerning)
{
    return juce::Font (regularTypeface()).withHeight (height).withExtraKerningFactor (extraKerning);
}
}
