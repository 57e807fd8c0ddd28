#include "editor/PluginEditor.h"

#include "BinaryData.h"
#include "components/ValueLabel.h"
#include "editor/EditorFonts.h"
#include "processor/SequencerState.h"

namespace
{
    const auto accentPurple = juce::Colour::fromString ("FF3a104a");
    const auto mutedGrey = juce::Colour::fromString ("FF8a8a8a");

    constexpr int pageButtonDashboardX = 643, pageButtonSequencerX = 31;

    juce::Image pagePicture (int page)
    {
        return page == TessalineAudioProcessorEditor::sequencerPage
                   ? juce::ImageCache::getFromMemory (BinaryData::sequencerBackground, BinaryData::sequencerBackgroundSize)
                   : juce::ImageCache::getFromMemory (BinaryData::dashboardBackground, BinaryData::dashboardBackgroundSize);
    }

    void setIcon (juce::ImageButton& button, const void* data, int size)
    {
        const auto icon = juce::ImageCache::getFromMemory (data, size);
        button.setImages (false, true, true, icon, 1.0f, juce::Colours::transparentBlack, icon, 1.0f,
                          juce::Colours::transparentBlack, icon, 1.0f, juce::Colours::transparentBlack);
        button.setMouseCursor (juce::MouseCursor::PointingHandCursor);
    }

    float rawValue (juce::AudioProcessorValueTreeState& state, const juce::String& id)
    {
        const auto* value = state.getRawParameterValue (id);
        return value != nullptr ? value->load() : 0.0f;
    }
}

TessalineAudioProcessorEditor::TessalineAudioProcessorEditor (TessalineAudioProcessor& owner,
                                                              juce::AudioProcessorValueTreeState& state)
    : AudioProcessorEditor (owner),
      valueTreeState (state),
      audioProcessor (owner),
      labelFont (EditorFonts::label())
{
    setOpaque (true);
    initializeControls();
    setSize (800, 500);

    // Most state changes become visible through this whole-window repaint.
    repaintTimer = std::make_unique<RepaintTimer> (*this);
    repaintTimer->startTimer (repaintIntervalMs);
}

TessalineAudioProcessorEditor::~TessalineAudioProcessorEditor()
{
    for (auto* component : { static_cast<juce::Component*> (&inputSlider), static_cast<juce::Component*> (&inputLabel),
                             static_cast<juce::Component*> (&mixSlider), static_cast<juce::Component*> (&mixLabel),
                             static_cast<juce::Component*> (&outputSlider), static_cast<juce::Component*> (&outputLabel) })
        component->setLookAndFeel (nullptr);
    for (auto& button : chainButtons)
        button.setLookAndFeel (nullptr);
    for (auto* child : getChildren())
        child->setLookAndFeel (nullptr);
}

//==============================================================================
void TessalineAudioProcessorEditor::initializeControls()
{
    if (controlsInitialized)
        return;

    uiPageNum = valueTreeState.state.getProperty (uiPageNumKey, dashboardPage);

    effectsOnButton = std::make_unique<juce::ImageButton> ("effectsOnButton");
    effectsOnButton->setClickingTogglesState (true);
    setIcon (*effectsOnButton, BinaryData::powerIcon, BinaryData::powerIconSize);
    effectsOnButton->onClick = [this]
    {
        effectsOnButton->setAlpha (effectsOnButton->getToggleState() ? 1.0f : 0.5f);
        updateEffectsUIState();
    };
    const auto effectsOn = Parameters::isSwitchOn (rawValue (valueTreeState, Parameters::effectsOn));
    effectsOnButton->setToggleState (effectsOn, juce::dontSendNotification);
    effectsOnButton->setAlpha (effectsOn ? 1.0f : 0.5f);
    effectsOnAttachment = std::make_unique<juce::AudioProcessorValueTreeState::ButtonAttachment> (valueTreeState, Parameters::effectsOn, *effectsOnButton);
    addAndMakeVisible (*effectsOnButton);

    resetButton = std::make_unique<juce::ImageButton> ("resetButton");
    setIcon (*resetButton, BinaryData::resetIcon, BinaryData::resetIconSize);
    resetButton->onClick = [this] { resetAllEffectChainsToDefaults(); };
    addAndMakeVisible (*resetButton);

    mainSampleButton = std::make_unique<AudioFileButton>();
    addAndMakeVisible (*mainSampleButton);
    mainSampleButton->onFileLoaded = [this] (const juce::File& file) { audioProcessor.loadMainSampleFile (file); };

    for (int v = 0; v < Parameters::numVariations; ++v)
    {
        auto& burger = burgerButtons[(size_t) v];
        burger = std::make_unique<BurgerButton>();
        burger->onOpenMenu = [this, v] { showVariationMenu (v); };
        addAndMakeVisible (*burger);

        auto& label = variationLabels[(size_t) v];
        label.setText (juce::String (v + 1), juce::dontSendNotification);
        label.setFont (labelFont);
        label.setColour (juce::Label::textColourId, juce::Colours::white);
        label.setJustificationType (juce::Justification::centredLeft);
        addAndMakeVisible (label);
    }

    for (int v = 0; v < Parameters::numVariations; ++v)
    {
        const auto origin = variationOrigins[(size_t) v];
        for (int s = 0; s < Parameters::slotsPerVariation; ++s)
        {
            auto& slot = slotButtons[(size_t) v][(size_t) s];
            slot = std::make_unique<VariationFileButton> (juce::Rectangle<int> (origin.x + 9 + 34 * s, origin.y + 28, 60, 96),
                                                          BinaryData::loadIconGrey, BinaryData::loadIconGreySize,
                                                          BinaryData::loadIconWhite, BinaryData::loadIconWhiteSize,
                                                          valueTreeState, Parameters::slotVolumeId (v, s));
            slot->onFileLoaded = [this, v, s] (const juce::File& file)
            {
                audioProcessor.loadVariationFile (v, s, file);
                slotButtons[(size_t) v][(size_t) s]->showLoaded();
                applySlotVisibility (v);
            };
            addAndMakeVisible (*slot);

            if (valueTreeState.state[SlotRecords::filePathKey (v, s)].toString().isNotEmpty())
                slot->showLoaded();
        }
        applySlotVisibility (v);
    }

    for (auto& variation : slotButtons)
        for (auto& slot : variation)
            slot->volumeSlider.setVisible (slot->isLoaded);

    setupChainSelectorButtons();

    for (int i = 0; i < Parameters::numSounds; ++i)
    {
        effectChains[(size_t) i] = std::make_unique<EffectChain> (valueTreeState, i);
        addAndMakeVisible (*effectChains[(size_t) i]);
    }
    showChainSelection();

    // The processor's cursor reads the row switches from the state tree, which the grid writes.
    sequencerGrid = std::make_unique<Sequencer> (valueTreeState);
    addChildComponent (*sequencerGrid);

    pageSwitchButton = std::make_unique<PageSwitchButton>();
    pageSwitchButton->onSwitch = [this] { switchPage(); };
    showPageButton();
    addAndMakeVisible (*pageSwitchButton);

    dashboardRewindButton = std::make_unique<RewindButton>();
    sequencerRewindButton = std::make_unique<RewindButton>();
    for (auto* rewind : { dashboardRewindButton.get(), sequencerRewindButton.get() })
    {
        rewind->onRewind = [this] { handleRewindClick(); };
        addAndMakeVisible (*rewind);
    }

    horizontalSliderLookAndFeel = std::make_unique<HorizontalSliderLookAndFeel>();
    setupGainControl (inputSlider, inputAttachment, inputLabel, Parameters::input, "IN");
    setupGainControl (mixSlider, mixAttachment, mixLabel, Parameters::mix, "MIX");
    setupGainControl (outputSlider, outputAttachment, outputLabel, Parameters::output, "OUT");

    updateEffectsUIState();
    controlsInitialized = true;
}

void TessalineAudioProcessorEditor::setupChainSelectorButtons()
{
    chainSelectorLookAndFeel = std::make_unique<ChainSelectorLookAndFeel>();

    for (int i = 0; i < Parameters::numSounds; ++i)
    {
        auto& button = chainButtons[(size_t) i];
        button.setLookAndFeel (chainSelectorLookAndFeel.get());
        addAndMakeVisible (button);
        button.setButtonText (juce::String (i + 1));
        button.setClickingTogglesState (false);
        button.setColour (juce::TextButton::textColourOffId, juce::Colours::white);
        button.setColour (juce::TextButton::buttonColourId, juce::Colours::transparentBlack);
        button.setMouseCursor (juce::MouseCursor::PointingHandCursor);
        button.onClick = [this, i]
        {
            selectedChain = i;
            showChainSelection();
            repaint();
        };
    }
}

void TessalineAudioProcessorEditor::setupGainControl (juce::Slider& slider,
                                                      std::unique_ptr<juce::AudioProcessorValueTreeState::SliderAttachment>& attachment,
                                                      juce::Label& label, const juce::String& parameterID, const juce::String& restingText)
{
    slider.setTextBoxStyle (juce::Slider::NoTextBox, true, 40, 80);
    slider.setLookAndFeel (horizontalSliderLookAndFeel.get());
    slider.setColour (juce::Slider::thumbColourId, juce::Colours::white);
    slider.setColour (juce::Slider::trackColourId, juce::Colours::white);
    slider.setMouseCursor (juce::MouseCursor::PointingHandCursor);
    addAndMakeVisible (slider);
    attachment = std::make_unique<juce::AudioProcessorValueTreeState::SliderAttachment> (valueTreeState, parameterID, slider);

    label.setFont (EditorFonts::regular (17.0f, 0.1f));
    label.setJustificationType (juce::Justification::centred);
    label.setEditable (true, false, false);
    addAndMakeVisible (label);

    const auto valueText = [this, parameterID] { return gainValueText (parameterID, rawValue (valueTreeState, parameterID)); };
    ValueLabel::connect (label, slider, restingText, valueTreeState.getParameter (parameterID), valueText, valueText);
}

juce::String TessalineAudioProcessorEditor::gainValueText (const juce::String& parameterID, double value)
{
    if (parameterID == Parameters::mix)
        return juce::String (value, 2) + " %";

    return value > -0.005 && value < 0.005 ? juce::String ("0 dB") : juce::String (value, 2) + " dB";
}

//==============================================================================
void TessalineAudioProcessorEditor::applySlotVisibility (int variation)
{
    auto& slots = slotButtons[(size_t) variation];
    slots[0]->setVisible (true);
    slots[1]->setVisible (slots[0]->isLoaded);
    slots[2]->setVisible (slots[0]->isLoaded && slots[1]->isLoaded);
}

void TessalineAudioProcessorEditor::showChainSelection()
{
    for (size_t i = 0; i < chainButtons.size(); ++i)
    {
        const auto selected = (int) i == selectedChain;
        effectChains[i]->setVisible (selected);
        chainButtons[i].setColour (juce::TextButton::textColourOffId, juce::Colours::white);
        chainButtons[i].setColour (juce::TextButton::buttonColourId, selected ? accentPurple : juce::Colours::transparentBlack);
    }
}

void TessalineAudioProcessorEditor::updateEffectsUIState()
{
    const auto on = Parameters::isSwitchOn (rawValue (valueTreeState, Parameters::effectsOn));
    const auto alpha = on ? 1.0f : 0.5f;
    const auto pointer = on ? juce::MouseCursor (juce::MouseCursor::PointingHandCursor) : juce::MouseCursor();

    for (auto& chain : effectChains)
    {
        chain->setEnabled (on);
        chain->setAlpha (alpha);
    }

    const auto showState = [on, alpha, pointer] (juce::Button& button)
    {
        button.setEnabled (on);
        button.setAlpha (alpha);
        button.setMouseCursor (pointer);
    };
    for (auto& button : chainButtons)
        showState (button);
    showState (*resetButton);
}

void TessalineAudioProcessorEditor::resetAllEffectChainsToDefaults()
{
    for (int n = 0; n < Parameters::numSounds; ++n)
        for (int e = 0; e < Parameters::numEffects; ++e)
        {
            const auto module = static_cast<Parameters::Effect> (e);
            for (const auto& id : { Parameters::effectAttributeId (n, module), Parameters::effectMixId (n, module) })
                if (auto* parameter = valueTreeState.getParameter (id))
                    parameter->setValueNotifyingHost (parameter->getDefaultValue());
        }
}

void TessalineAudioProcessorEditor::showMainSample()
{
    const auto data = audioProcessor.getMainSampleData();
    const auto& state = valueTreeState.state;

    if ((bool) state.getProperty (SlotRecords::mainSampleLoaded, false) && ! data.isEmpty())
        mainSampleButton->loadFromBinary (data, state[SlotRecords::mainSampleNumCh], state[SlotRecords::mainSampleNumSamples]);
}

//==============================================================================
void TessalineAudioProcessorEditor::showPageButton()
{
    const auto onSequencer = uiPageNum != dashboardPage;
    pageSwitchButton->pageName = onSequencer ? "DASHBOARD" : "SEQUENCER";
    pageSwitchButton->setName (pageSwitchButton->pageName);
    pageSwitchButton->pointsRight = ! onSequencer;
    pageSwitchButton->repaint();
}

void TessalineAudioProcessorEditor::switchPage()
{
    uiPageNum = uiPageNum != dashboardPage ? dashboardPage : sequencerPage;
    valueTreeState.state.setProperty (uiPageNumKey, uiPageNum, nullptr);
    showPageButton();
    pageSwitchButton->setBounds (uiPageNum == dashboardPage ? pageButtonDashboardX : pageButtonSequencerX, 22, 124, 17);
    repaint();
}

//==============================================================================
void TessalineAudioProcessorEditor::showVariationMenu (int variation)
{
    juce::PopupMenu menu;
    menu.addItem (copyItem, "Copy", true, false);
    menu.addItem (pasteItem, "Paste", true, false);
    menu.addItem (clearItem, "Clear", true, false);
    menu.setLookAndFeel (&popupLF);

    // The editor may close while the menu is open: the result then goes nowhere.
    menu.showMenuAsync (juce::PopupMenu::Options(), [safeThis = juce::Component::SafePointer<TessalineAudioProcessorEditor> (this), variation] (int result)
    {
        if (safeThis != nullptr)
            safeThis->handleMenuResult (variation, result);
    });
}

void TessalineAudioProcessorEditor::handleMenuResult (int variation, int result)
{
    auto& slots = slotButtons[(size_t) variation];

    if (result == copyItem)
    {
        for (size_t s = 0; s < slots.size(); ++s)
        {
            clipboardHasSlot[s] = slots[s]->isLoaded;
            if (slots[s]->isLoaded)
            {
                const auto path = valueTreeState.state[SlotRecords::filePathKey (variation, (int) s)].toString();
                clipboardPaths[s] = juce::File::isAbsolutePath (path) ? juce::File (path).getFullPathName() : path;
                clipboardVolumes[s] = rawValue (valueTreeState, Parameters::slotVolumeId (variation, (int) s));
            }
        }
        clipboardValid = clipboardHasSlot[0] || clipboardHasSlot[1] || clipboardHasSlot[2];
    }
    else if (result == pasteItem && clipboardValid)
    {
        for (int s = 0; s < Parameters::slotsPerVariation; ++s)
        {
            slots[(size_t) s]->showEmpty();
            audioProcessor.clearVariationFile (variation, s);
        }

        for (int s = 0; s < Parameters::slotsPerVariation; ++s)
        {
            const auto& path = clipboardPaths[(size_t) s];
            if (! clipboardHasSlot[(size_t) s] || ! juce::File::isAbsolutePath (path) || ! juce::File (path).existsAsFile())
                continue;

            audioProcessor.loadVariationFile (variation, s, juce::File (path));
            slots[(size_t) s]->showLoaded();
            if (auto* parameter = valueTreeState.getParameter (Parameters::slotVolumeId (variation, s)))
                parameter->setValueNotifyingHost (parameter->convertTo0to1 (clipboardVolumes[(size_t) s]));
        }
        applySlotVisibility (variation);
    }
    else if (result == clearItem)
    {
        for (int s = 0; s < Parameters::slotsPerVariation; ++s)
        {
            slots[(size_t) s]->showEmpty();
            audioProcessor.clearVariationFile (variation, s);
        }
        applySlotVisibility (variation);
    }
}

//==============================================================================
void TessalineAudioProcessorEditor::displayPlayback (int step, int variation)
{
    auto& steps = sequencerGrid->steps;

    if (juce::isPositiveAndBelow (lastHighlightedStep, steps.size()))
    {
        steps[lastHighlightedStep]->isPlaying = false;
        steps[lastHighlightedStep]->repaint();
    }
    if (juce::isPositiveAndBelow (lastPlayingVariation, Parameters::numVariations))
        variationPlaying[(size_t) lastPlayingVariation] = false;

    if (juce::isPositiveAndBelow (step, steps.size()))
    {
        steps[step]->isPlaying = true;
        steps[step]->repaint();
    }
    if (juce::isPositiveAndBelow (variation, Parameters::numVariations))
        variationPlaying[(size_t) variation] = true;

    lastHighlightedStep = step;
    lastPlayingVariation = variation;
    repaint();
}

void TessalineAudioProcessorEditor::clearPlayingDisplay()
{
    for (auto* step : sequencerGrid->steps)
        if (step->isPlaying)
        {
            step->isPlaying = false;
            step->repaint();
        }

    variationPlaying.fill (false);
    lastHighlightedStep = -1;
    lastPlayingVariation = -1;
}

void TessalineAudioProcessorEditor::handleRewindClick()
{
    // The processor applies its part at the start of its next block, so a note in between is
    // still forgotten and the next note plays the first enabled step.
    audioProcessor.rewind();
    clearPlayingDisplay();
    sequencerGrid->currentStep = -1;
    repaint();
}

//==============================================================================
void TessalineAudioProcessorEditor::resized()
{
    if (! controlsInitialized)
        return;

    inputSlider.setBounds (16, 455, 178, 15);
    mixSlider.setBounds (311, 455, 178, 15);
    outputSlider.setBounds (605, 455, 178, 15);
    inputLabel.setBounds (56, 473, 100, 20);
    mixLabel.setBounds (350, 473, 100, 20);
    outputLabel.setBounds (645, 473, 100, 20);

    pageSwitchButton->setBounds (uiPageNum == dashboardPage ? pageButtonDashboardX : pageButtonSequencerX, 22, 124, 17);

    for (size_t v = 0; v < variationOrigins.size(); ++v)
    {
        const auto origin = variationOrigins[v];
        variationLabels[v].setBounds (origin.x + 2, origin.y + 4, 18, 15);
        burgerButtons[v]->setBounds (origin.x + 98, origin.y + 8, 10, 10);
        for (int s = 0; s < Parameters::slotsPerVariation; ++s)
            slotButtons[v][(size_t) s]->setBounds (origin.x - 7 + 34 * s, origin.y + 8, 60, 48);
    }

    for (int i = 0; i < Parameters::numSounds; ++i)
    {
        chainButtons[(size_t) i].setBounds (237 + 41 * i, 302, 38, 17);
        effectChains[(size_t) i]->setBounds (0, 315, getWidth(), getHeight() - 315);
    }

    sequencerGrid->setBounds (0, 0, 800, 500);
    effectsOnButton->setBounds (52, 302, 13, 13);
    dashboardRewindButton->setBounds (721, 94, 24, 13);
    sequencerRewindButton->setBounds (724, 101, 24, 13);
    resetButton->setBounds (731, 301, 13, 13);

    // The picture of a main sample the processor already holds (the constructor's setSize gets here).
    showMainSample();
}

//==============================================================================
void TessalineAudioProcessorEditor::paint (juce::Graphics& g)
{
    paintBackground (g);

    if (! controlsInitialized)
        return;

    if (uiPageNum == sequencerPage)
        paintSequencerPage (g);
    else
        paintDashboard (g);

    dashboardRewindButton->setVisible (uiPageNum == dashboardPage);
    sequencerRewindButton->setVisible (uiPageNum == sequencerPage);
}

void TessalineAudioProcessorEditor::paintBackground (juce::Graphics& g)
{
    const auto scale = g.getInternalContext().getPhysicalPixelScaleFactor();

    if (uiPageNum != scaledBackgroundPage || scale != scaledBackgroundScale)
    {
        const auto picture = pagePicture (uiPageNum);
        scaledBackground = {};

        if (picture.isValid())
        {
            scaledBackground = juce::Image (juce::Image::RGB, juce::roundToInt ((float) getWidth() * scale),
                                            juce::roundToInt ((float) getHeight() * scale), false);
            juce::Graphics scaled (scaledBackground);
            scaled.setImageResamplingQuality (juce::Graphics::highResamplingQuality);
            scaled.drawImageTransformed (picture, juce::AffineTransform::scale ((float) scaledBackground.getWidth() / (float) picture.getWidth(),
                                                                                (float) scaledBackground.getHeight() / (float) picture.getHeight()));
        }

        scaledBackgroundPage = uiPageNum;
        scaledBackgroundScale = scale;
    }

    if (! scaledBackground.isValid())
        return;

    // At a scale of 1 a plain copy; otherwise each cached pixel still lands on one screen pixel.
    if (scale == 1.0f)
        g.drawImageAt (scaledBackground, 0, 0);
    else
        g.drawImageTransformed (scaledBackground, juce::AffineTransform::scale (1.0f / scale));
}

void TessalineAudioProcessorEditor::paintSequencerPage (juce::Graphics& g)
{
    mainSampleButton->setVisible (false);
    for (auto& burger : burgerButtons)
        burger->setVisible (false);
    for (auto& variation : slotButtons)
        for (auto& slot : variation)
            slot->setVisible (false);
    for (size_t i = 0; i < effectChains.size(); ++i)
    {
        effectChains[i]->setVisible (false);
        chainButtons[i].setVisible (false);
    }
    effectsOnButton->setVisible (false);
    resetButton->setVisible (false);
    for (auto& label : variationLabels)
        label.setVisible (false);
    sequencerGrid->setVisible (true);

    g.setFont (labelFont);
    g.setColour (juce::Colours::white);
    g.drawText ("SEQUENCER", 52, 99, 104, 17, juce::Justification::centredLeft);
}

void TessalineAudioProcessorEditor::paintDashboard (juce::Graphics& g)
{
    mainSampleButton->setVisible (true);
    showChainSelection();
    sequencerGrid->setVisible (false);
    for (auto& button : chainButtons)
        button.setVisible (true);

    g.setFont (labelFont);
    g.setColour (juce::Colours::white);
    g.drawText ("MAIN SAMPLE", 53, 92, 120, 17, juce::Justification::centredLeft);
    g.drawText ("VARIATIONS", 260, 92, 104, 17, juce::Justification::centredLeft);

    const auto effectsOn = Parameters::isSwitchOn (rawValue (valueTreeState, Parameters::effectsOn));
    g.setColour (effectsOn ? juce::Colours::white : mutedGrey);
    g.drawText ("EFFECTS", 71, 300, 120, 17, juce::Justification::left);

    effectsOnButton->setVisible (true);
    resetButton->setVisible (true);
    for (auto& label : variationLabels)
        label.setVisible (true);

    for (size_t v = 0; v < variationOrigins.size(); ++v)
    {
        const auto box = juce::Rectangle<int> (variationOrigins[v].x, variationOrigins[v].y, variationBoxWidth, variationBoxHeight).toFloat();

        if (variationPlaying[v])
        {
            g.setColour (accentPurple);
            g.fillRoundedRectangle (box, 2.0f);
        }

        g.setColour (juce::Colours::white);
        g.drawRoundedRectangle (box, 2.0f, 1.0f);

        burgerButtons[v]->setVisible (true);
        applySlotVisibility ((int) v);
    }
}
