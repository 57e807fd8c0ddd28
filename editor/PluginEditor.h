#pragma once

#include "components/AudioFileButton.h"
#include "components/EffectChain.h"
#include "components/LookAndFeels.h"
#include "components/Sequencer.h"
#include "components/VariationFileButton.h"
#include "editor/EditorButtons.h"
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

// The plug-in's window: the DASHBOARD page (main sample, variations, effects, gains) and the
// SEQUENCER page (the step grid), both drawn over a full-window picture. All controls live
// directly in the editor; the page decides at each paint which are shown.
class TessalineAudioProcessorEditor : public juce::AudioProcessorEditor
{
public:
    TessalineAudioProcessorEditor (TessalineAudioProcessor& owner, juce::AudioProcessorValueTreeState& state);
    ~TessalineAudioProcessorEditor() override;

    void paint (juce::Graphics& g) override;
    void resized() override;

    // Shows what the latest note-on played: the grid step and the zero-based variation. Indices
    // out of range are ignored for the part they concern.
    void displayPlayback (int step, int variation);

    // Shows the processor's main sample (after a project was restored).
    void showMainSample();

    // Sends playback back to the start and clears what the display shows as playing.
    void handleRewindClick();

    // What the variation menu does with its result: 1 Copy, 2 Paste, 3 Clear, anything else nothing.
    enum MenuItem { copyItem = 1, pasteItem = 2, clearItem = 3 };
    void handleMenuResult (int variation, int result);

    void resetAllEffectChainsToDefaults();
    void updateEffectsUIState();

    // The text a gain label shows for a value: "0 dB" near 0, "-6.00 dB", "50.00 %".
    static juce::String gainValueText (const juce::String& parameterID, double value);

    int getLastHighlightedStep() const noexcept { return lastHighlightedStep; }
    int getLastPlayingVariation() const noexcept { return lastPlayingVariation; }
    bool isVariationPlaying (int variation) const noexcept { return variationPlaying[(size_t) variation]; }
    int getPage() const noexcept { return uiPageNum; }

    static inline const juce::Identifier uiPageNumKey { "uiPageNum" };
    static constexpr int dashboardPage = 0, sequencerPage = 1;

    // Top-left corners of the eight variation boxes, each 114 x 63.
    static constexpr std::array<juce::Point<int>, 8> variationOrigins { {
        { 260, 119 }, { 384, 119 }, { 508, 119 }, { 633, 119 }, { 260, 192 }, { 384, 192 }, { 508, 192 }, { 633, 192 } } };
    static constexpr int variationBoxWidth = 114, variationBoxHeight = 63;
    static constexpr int repaintIntervalMs = 8;

    // The controls, public so that tests and the gallery can reach them as a user would.
    std::unique_ptr<AudioFileButton> mainSampleButton;
    std::unique_ptr<PageSwitchButton> pageSwitchButton;
    std::array<std::unique_ptr<BurgerButton>, 8> burgerButtons;
    std::array<std::array<std::unique_ptr<VariationFileButton>, 3>, 8> slotButtons;
    std::unique_ptr<Sequencer> sequencerGrid;
    std::unique_ptr<RewindButton> dashboardRewindButton, sequencerRewindButton;
    std::array<juce::TextButton, 8> chainButtons;
    int selectedChain = 0;
    std::array<std::unique_ptr<EffectChain>, 8> effectChains;
    std::array<juce::Label, 8> variationLabels;
    juce::Slider inputSlider, mixSlider, outputSlider;
    juce::Label inputLabel, mixLabel, outputLabel;
    std::unique_ptr<juce::ImageButton> effectsOnButton, resetButton;

private:
    void initializeControls();
    void setupChainSelectorButtons();
    void setupGainControl (juce::Slider& slider, std::unique_ptr<juce::AudioProcessorValueTreeState::SliderAttachment>& attachment,
                           juce::Label& label, const juce::String& parameterID, const juce::String& restingText);
    void applySlotVisibility (int variation);
    void showChainSelection();
    void switchPage();
    void showPageButton();
    void showVariationMenu (int variation);
    void clearPlayingDisplay();

    void paintBackground (juce::Graphics& g);
    void paintDashboard (juce::Graphics& g);
    void paintSequencerPage (juce::Graphics& g);

    juce::AudioProcessorValueTreeState& valueTreeState;
    TessalineAudioProcessor& audioProcessor;
    std::unique_ptr<RepaintTimer> repaintTimer;
    int uiPageNum = dashboardPage;
    juce::Font labelFont;

    std::unique_ptr<ChainSelectorLookAndFeel> chainSelectorLookAndFeel;
    std::unique_ptr<HorizontalSliderLookAndFeel> horizontalSliderLookAndFeel;
    VariationDropdownLookAndFeel popupLF;
    std::unique_ptr<juce::AudioProcessorValueTreeState::SliderAttachment> inputAttachment, mixAttachment, outputAttachment;
    std::unique_ptr<juce::AudioProcessorValueTreeState::ButtonAttachment> effectsOnAttachment;

    // The variation clipboard: file paths and volumes, never audio.
    bool clipboardValid = false;
    std::array<bool, 3> clipboardHasSlot {};
    std::array<juce::String, 3> clipboardPaths;
    std::array<float, 3> clipboardVolumes {};

    std::array<bool, Parameters::numVariations> variationPlaying {};
    int lastHighlightedStep = -1;
    int lastPlayingVariation = -1;
    bool controlsInitialized = false;

    // The page's picture scaled to the window once, at the display's pixel scale: scaling the
    // 3200 x 2000 picture on every 8 ms repaint would cost far more than a frame.
    juce::Image scaledBackground;
    int scaledBackgroundPage = -1;
    float scaledBackgroundScale = 0.0f;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TessalineAudioProcessorEditor)
};
