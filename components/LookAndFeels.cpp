#include "components/LookAndFeels.h"

namespace
{
    constexpr float trackThickness = 2.0f;
    constexpr int gainThumbDiameter = 15;

    juce::PathStrokeType trackStroke (float thickness)
    {
        return { thickness, juce::PathStrokeType::curved, juce::PathStrokeType::rounded };
    }

    // The layout of LookAndFeel_V2, which the V4 style would otherwise change.
    juce::Slider::SliderLayout v2Layout (juce::Slider& slider)
    {
        juce::LookAndFeel_V2 v2;
        return v2.getSliderLayout (slider);
    }

    float angleAt (float sliderPos, float start, float end) { return start + sliderPos * (end - start); }
}

//==============================================================================
HorizontalSliderLookAndFeel::HorizontalSliderLookAndFeel()
{
    setColour (juce::Slider::thumbColourId, juce::Colours::white);
    setColour (juce::Slider::backgroundColourId, juce::Colour::fromString ("FF8a8a8a"));
    setColour (juce::Slider::trackColourId, juce::Colour::fromString ("FF8a8a8a"));
}

int HorizontalSliderLookAndFeel::getSliderThumbRadius (juce::Slider&)
{
    return gainThumbDiameter;
}

juce::Slider::SliderLayout HorizontalSliderLookAndFeel::getSliderLayout (juce::Slider& slider)
{
    return v2Layout (slider);
}

void HorizontalSliderLookAndFeel::drawLinearSlider (juce::Graphics& g, int x, int y, int width, int height,
                                                    float sliderPos, float minSliderPos, float maxSliderPos,
                                                    juce::Slider::SliderStyle style, juce::Slider& slider)
{
    // Bars are drawn as the framework draws them (in JUCE 7 a fill without an outline).
    if (slider.isBar())
    {
        LookAndFeel_V4::drawLinearSlider (g, x, y, width, height, sliderPos, minSliderPos, maxSliderPos, style, slider);
        return;
    }

    const auto horizontal = slider.isHorizontal();
    const juce::Point<float> start = horizontal ? juce::Point<float> ((float) x, (float) y + (float) height * 0.5f)
                                                : juce::Point<float> ((float) x + (float) width * 0.5f, (float) (y + height));
    const juce::Point<float> end = horizontal ? juce::Point<float> ((float) (x + width), start.y)
                                              : juce::Point<float> (start.x, (float) y);

    juce::Path background;
    background.startNewSubPath (start);
    background.lineTo (end);
    g.setColour (slider.findColour (juce::Slider::backgroundColourId));
    g.strokePath (background, trackStroke (trackThickness));

    const auto twoValues = slider.isTwoValue() || slider.isThreeValue();
    const auto point = [&] (float position)
    {
        return horizontal ? juce::Point<float> (position, (float) y + (float) height * 0.5f)
                          : juce::Point<float> ((float) x + (float) width * 0.5f, position);
    };

    juce::Path value;
    value.startNewSubPath (twoValues ? point (minSliderPos) : start);
    value.lineTo (twoValues ? point (maxSliderPos) : point (sliderPos));
    g.setColour (slider.findColour (juce::Slider::trackColourId));
    g.strokePath (value, trackStroke (trackThickness));

    if (! slider.isTwoValue())
    {
        const auto diameter = (float) getSliderThumbRadius (slider);
        g.setColour (slider.findColour (juce::Slider::thumbColourId));
        g.fillEllipse (juce::Rectangle<float> (diameter, diameter).withCentre (point (sliderPos)));
    }
}

//==============================================================================
OutlineKnobLookAndFeel::OutlineKnobLookAndFeel()
{
    setColour (juce::Slider::rotarySliderFillColourId, juce::Colours::transparentWhite);
    setColour (juce::Slider::rotarySliderOutlineColourId, juce::Colours::transparentWhite);
    setColour (juce::Slider::thumbColourId, juce::Colours::white);
}

juce::Slider::SliderLayout OutlineKnobLookAndFeel::getSliderLayout (juce::Slider& slider)
{
    return v2Layout (slider);
}

void OutlineKnobLookAndFeel::drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                                               float rotaryStartAngle, float rotaryEndAngle, juce::Slider&)
{
    const auto radius = (float) juce::jmin (width, height) * 0.5f * 0.85f;
    const juce::Point<float> centre ((float) x + (float) width * 0.5f, (float) y + (float) height * 0.5f + 1.0f);

    g.setColour (juce::Colours::white);
    g.drawEllipse (centre.x - radius, centre.y - radius, 2.0f * radius, 2.0f * radius, 1.0f);

    juce::Path pointer;
    const auto corner = 0.05f * radius;
    pointer.addRoundedRectangle (-0.05f * radius, -radius, 0.1f * radius, radius, corner, corner, true, true, true, true);
    pointer.applyTransform (juce::AffineTransform::rotation (angleAt (sliderPos, rotaryStartAngle, rotaryEndAngle))
                                .translated (centre.x, centre.y));
    g.fillPath (pointer);
}

//==============================================================================
VariationKnobLookAndFeel::VariationKnobLookAndFeel()
{
    setColour (juce::Slider::thumbColourId, juce::Colours::white);
    setColour (juce::Slider::rotarySliderOutlineColourId, juce::Colours::transparentWhite);
    setColour (juce::Slider::rotarySliderFillColourId, juce::Colours::transparentWhite);
}

juce::Slider::SliderLayout VariationKnobLookAndFeel::getSliderLayout (juce::Slider& slider)
{
    return v2Layout (slider);
}

void VariationKnobLookAndFeel::drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                                                 float rotaryStartAngle, float rotaryEndAngle, juce::Slider& slider)
{
    const auto w = (float) width, h = (float) height;

    // The disc is placed from the component's origin.
    g.setColour (accentColour);
    g.fillEllipse (1.0f, 1.0f, w - 2.0f, h - 2.0f);

    const auto bounds = juce::Rectangle<int> (x, y, width, height).toFloat().reduced (10.0f);
    const auto radius = juce::jmin (bounds.getWidth(), bounds.getHeight()) * 0.5f;
    const auto lineWidth = juce::jmin (radius * 0.5f, 8.0f);
    const auto arcRadius = radius - arcInsetFraction * w;
    const auto angle = angleAt (sliderPos, rotaryStartAngle, rotaryEndAngle);
    const auto centre = bounds.getCentre();

    juce::Path background;
    background.addCentredArc (centre.x, centre.y, arcRadius, arcRadius, 0.0f, rotaryStartAngle, rotaryEndAngle, true);
    g.setColour (slider.findColour (juce::Slider::rotarySliderOutlineColourId));
    g.strokePath (background, trackStroke (lineWidth));

    if (slider.isEnabled())
    {
        juce::Path value;
        value.addCentredArc (centre.x, centre.y, arcRadius, arcRadius, 0.0f, rotaryStartAngle, angle, true);
        g.setColour (slider.findColour (juce::Slider::rotarySliderFillColourId));
        g.strokePath (value, trackStroke (lineWidth));
    }

    const auto thumbDiameter = thumbSizeFraction * w;
    const auto thumbCentre = centre + juce::Point<float> (std::cos (angle - juce::MathConstants<float>::halfPi),
                                                          std::sin (angle - juce::MathConstants<float>::halfPi)) * (radius + 1.0f);
    g.setColour (slider.findColour (juce::Slider::thumbColourId));
    g.fillEllipse (juce::Rectangle<float> (thumbDiameter, thumbDiameter).withCentre (thumbCentre));

    g.setColour (juce::Colours::white);
    g.drawEllipse (1.0f, 1.0f, w - 2.0f, h - 2.0f, outlineThickness);
}

//==============================================================================
void ChainSelectorLookAndFeel::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour& backgroundColour,
                                                     bool, bool)
{
    const auto bounds = button.getLocalBounds().toFloat();
    g.setColour (backgroundColour);
    g.fillRoundedRectangle (bounds, 2.0f);
    g.setColour (juce::Colours::white);
    g.drawRoundedRectangle (bounds, 2.0f, 2.0f);
}

//==============================================================================
VariationDropdownLookAndFeel::VariationDropdownLookAndFeel()
{
    setColour (juce::PopupMenu::backgroundColourId, juce::Colours::white);
    setColour (juce::PopupMenu::textColourId, juce::Colours::black);
    setColour (juce::PopupMenu::highlightedBackgroundColourId, juce::Colours::lightgrey);
    setColour (juce::PopupMenu::highlightedTextColourId, juce::Colours::black);
}
