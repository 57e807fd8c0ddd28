#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The editor's drawing styles. Each changes a few drawing operations and colours of
// LookAndFeel_V4 and leaves everything else to it.

// The three gain sliders: 2-pixel tracks along the middle and a 15-pixel round thumb.
class HorizontalSliderLookAndFeel : public juce::LookAndFeel_V4
{
public:
    HorizontalSliderLookAndFeel();

    void drawLinearSlider (juce::Graphics&, int x, int y, int width, int height, float sliderPos, float minSliderPos,
                           float maxSliderPos, juce::Slider::SliderStyle, juce::Slider&) override;
    int getSliderThumbRadius (juce::Slider&) override;
    juce::Slider::SliderLayout getSliderLayout (juce::Slider&) override;
};

// The effect panels' knobs: a white circle with a white pointer from the centre to the rim.
class OutlineKnobLookAndFeel : public juce::LookAndFeel_V4
{
public:
    OutlineKnobLookAndFeel();

    void drawRotarySlider (juce::Graphics&, int x, int y, int width, int height, float sliderPos,
                           float rotaryStartAngle, float rotaryEndAngle, juce::Slider&) override;
    juce::Slider::SliderLayout getSliderLayout (juce::Slider&) override;
};

// The slot volume knobs: a dark purple disc with a white rim and a white dot travelling round it.
class VariationKnobLookAndFeel : public juce::LookAndFeel_V4
{
public:
    VariationKnobLookAndFeel();

    void drawRotarySlider (juce::Graphics&, int x, int y, int width, int height, float sliderPos,
                           float rotaryStartAngle, float rotaryEndAngle, juce::Slider&) override;
    juce::Slider::SliderLayout getSliderLayout (juce::Slider&) override;

    juce::Colour accentColour = juce::Colour::fromString ("FF3a104a");
    float outlineThickness = 1.0f;
    float arcInsetFraction = 0.1f;
    float thumbSizeFraction = 0.2f;
};

// The eight chain selector buttons: a rounded fill in the button's colour inside a white rim,
// the same whether hovered, pressed or idle.
class ChainSelectorLookAndFeel : public juce::LookAndFeel_V4
{
public:
    void drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour& backgroundColour,
                               bool highlighted, bool down) override;
};

// The variation menu: black text on white, on light grey under the pointer.
class VariationDropdownLookAndFeel : public juce::LookAndFeel_V4
{
public:
    VariationDropdownLookAndFeel();
};
