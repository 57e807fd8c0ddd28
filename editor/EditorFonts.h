#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The editor's typefaces, made once from the embedded DM Sans faces.
namespace EditorFonts
{
    juce::Typeface::Ptr regularTypeface();

    // DM Sans Regular at a height, with extra kerning (a fraction of the height).
    juce::Font regular (float height, float extraKerning);

    // Variation numbers and page headings.
    inline juce::Font label() { return regular (16.0f, 0.1f); }
}
