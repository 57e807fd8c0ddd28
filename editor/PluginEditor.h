#pragma once

#include "processor/PluginProcessor.h"

#include <juce_gui_basics/juce_gui_basics.h>

// Repaints its target, whole, at every tick.
class RepaintTimer : public juce::Timer
{
public:
    explicit RepaintTimer (juce::Component& componentToRepaint) : target (&componentToRepaint) {}
    ~RepaintTimer() override { stopTimer(); }

    void timerCallback() override { target->repaint(); }

private:
    juce::Component* target;
};

class TessalineAudioProcessorEditor : public juce::AudioProcessorEditor
{
public:
    TessalineAudioProcessorEditor (TessalineAudioProcessor& owner, juce::AudioProcessorValueTreeState& state);

    void paint (juce::Graphics& g) override;

    // Shows what the latest note-on played: the grid step and the zero-based variation. Indices
    // out of range are ignored for the part they concern.
    void displayPlayback (int step, int variation);

    int getLastHighlightedStep() const noexcept { return lastHighlightedStep; }
    int getLastPlayingVariation() const noexcept { return lastPlayingVariation; }
    bool isVariationPlaying (int variation) const noexcept { return variationPlaying[(size_t) variation]; }

    static inline const juce::Identifier uiPageNumKey { "uiPageNum" };
    static constexpr int dashboardPage = 0, sequencerPage = 1;

    // Top-left corners of the eight variation boxes, each 114 x 63.
    static constexpr std::array<juce::Point<int>, 8> variationOrigins { {
        { 260, 119 }, { 384, 119 }, { 508, 119 }, { 633, 119 }, { 260, 192 }, { 384, 192 }, { 508, 192 }, { 633, 192 } } };
    static constexpr int variationBoxWidth = 114, variationBoxHeight = 63;
    static constexpr int repaintIntervalMs = 8;

private:
    void paintBackground (juce::Graphics& g);
    void paintDashboard (juce::Graphics& g);
    void paintSequencerPage (juce::Graphics& g);

    juce::AudioProcessorValueTreeState& valueTreeState;
    TessalineAudioProcessor& audioProcessor;
    std::unique_ptr<RepaintTimer> repaintTimer;
    int uiPageNum = dashboardPage;
    juce::Font labelFont;

    std::array<bool, Parameters::numVariations> variationPlaying {};
    int lastHighlightedStep = -1;
    int lastPlayingVariation = -1;

    // The page's picture scaled to the window once, at the display's pixel scale: scaling the
    // 3200 x 2000 picture on every 8 ms repaint would cost far more than a frame.
    juce::Image scaledBackground;
    int scaledBackgroundPage = -1;
    float scaledBackgroundScale = 0.0f;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TessalineAudioProcessorEditor)
};
