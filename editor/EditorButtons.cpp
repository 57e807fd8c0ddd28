#include "editor/EditorButtons.h"

#include "BinaryData.h"
#include "editor/EditorFonts.h"

namespace
{
    constexpr int textToArrowGap = 8;
    constexpr float sqrtThree = 1.7320508f;
}

PageSwitchButton::PageSwitchButton()
    : juce::Button ("SEQUENCER"),
      buttonFont (EditorFonts::label().withHeight (15.0f).withExtraKerningFactor (0.2f))
{
}

void PageSwitchButton::mouseEnter (const juce::MouseEvent&) { setMouseCursor (juce::MouseCursor::PointingHandCursor); }
void PageSwitchButton::mouseExit (const juce::MouseEvent&) { setMouseCursor (juce::MouseCursor()); }

void PageSwitchButton::clicked()
{
    if (onSwitch)
        onSwitch();
}

void PageSwitchButton::paintButton (juce::Graphics& g, bool, bool)
{
    g.fillAll (juce::Colours::transparentBlack);
    g.setFont (buttonFont);
    g.setColour (juce::Colours::white);

    juce::AttributedString attributed;
    attributed.append (pageName, buttonFont);
    juce::TextLayout layout;
    layout.createLayout (attributed, 10000.0f);

    const auto textWidth = (int) layout.getWidth();
    const auto fontHeight = (int) buttonFont.getHeight();
    const auto arrowWidth = (int) (sqrtThree * (float) fontHeight * 0.5f);
    const auto groupWidth = textWidth + arrowWidth + textToArrowGap;

    const auto start = pageName.equalsIgnoreCase ("SEQUENCER") ? getWidth() - groupWidth
                     : pageName.equalsIgnoreCase ("DASHBOARD") ? 0
                                                               : (getWidth() - groupWidth) / 2;
    const auto textX = pointsRight ? start : start + arrowWidth + textToArrowGap;
    const auto arrowX = pointsRight ? start + textWidth + textToArrowGap : start;

    g.drawFittedText (pageName, textX, (int) ((float) (getHeight() - buttonFont.getHeight()) * 0.5f), textWidth, fontHeight,
                      juce::Justification::centredLeft, 1, 0.0f);

    const auto top = (float) ((getHeight() - fontHeight) / 2);
    const auto base = (float) (pointsRight ? arrowX : arrowX + arrowWidth);
    const auto tip = (float) (pointsRight ? arrowX + arrowWidth : arrowX);
    juce::Path arrow;
    arrow.addTriangle (base, top, base, top + (float) fontHeight, tip, top + (float) fontHeight * 0.5f);
    g.fillPath (arrow);
}

//==============================================================================
BurgerButton::BurgerButton() : juce::Button (juce::String()) {}

void BurgerButton::mouseEnter (const juce::MouseEvent&) { setMouseCursor (juce::MouseCursor::PointingHandCursor); }
void BurgerButton::mouseExit (const juce::MouseEvent&) { setMouseCursor (juce::MouseCursor()); }

void BurgerButton::clicked()
{
    if (onOpenMenu)
        onOpenMenu();
}

void BurgerButton::paintButton (juce::Graphics& g, bool, bool)
{
    g.fillAll (juce::Colours::transparentBlack);
    g.setColour (juce::Colours::white);

    const auto length = (float) getWidth() * 0.8f;
    const auto x = ((float) getWidth() - length) * 0.5f;
    const auto y = ((float) getHeight() - 7.0f) * 0.5f;
    for (const auto offset : { 0.0f, 3.0f, 6.0f })
        g.fillRect (x, y + offset, length, 1.0f);
}

//==============================================================================
RewindButton::RewindButton() : juce::ImageButton (juce::String())
{
    const auto icon = juce::ImageCache::getFromMemory (BinaryData::rewindIcon, BinaryData::rewindIconSize);
    setImages (false, true, true, icon, 1.0f, juce::Colours::transparentBlack, icon, 1.0f, juce::Colours::transparentBlack,
               icon, 1.0f, juce::Colours::transparentBlack);
    setMouseCursor (juce::MouseCursor::PointingHandCursor);
    onClick = [this]
    {
        if (onRewind)
            onRewind();
    };
}
