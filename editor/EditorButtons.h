#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The switch between the two pages: the name of the page it leads to and an arrow.
class PageSwitchButton : public juce::Button
{
public:
    PageSwitchButton();

    void mouseEnter (const juce::MouseEvent&) override;
    void mouseExit (const juce::MouseEvent&) override;
    void clicked() override;
    void paintButton (juce::Graphics&, bool highlighted, bool down) override;

    std::function<void()> onSwitch;
    juce::String pageName { "SEQUENCER" };
    bool pointsRight = true;
    juce::Font buttonFont;
};

// The three-bar button of a variation box, which opens its menu.
class BurgerButton : public juce::Button
{
public:
    BurgerButton();

    void mouseEnter (const juce::MouseEvent&) override;
    void mouseExit (const juce::MouseEvent&) override;
    void clicked() override;
    void paintButton (juce::Graphics&, bool highlighted, bool down) override;

    std::function<void()> onOpenMenu;
};

// Sends playback back to the start of the pattern.
class RewindButton : public juce::ImageButton
{
public:
    RewindButton();

    std::function<void()> onRewind;
};
