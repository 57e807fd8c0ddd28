#include "TestSupport.h"

#include "editor/PluginEditor.h"

using namespace TestSupport;

namespace
{
    // An editor opened on a prepared processor the way a host opens it, closed at the end.
    struct OpenedEditor
    {
        void open()
        {
            hosted.open();
            editor = hosted.get();
        }

        void close()
        {
            hosted.close();
            editor = nullptr;
        }

        // Paints once into an image, as the 8 ms repaint would.
        void paint()
        {
            juce::Image image (juce::Image::RGB, 800, 500, true);
            juce::Graphics g (image);
            editor->paintEntireComponent (g, true);
        }

        float raw (const juce::String& id) { return p.processor.parameters.getRawParameterValue (id)->load(); }

        PreparedProcessor p;
        HostedEditor hosted { p.processor };
        TessalineAudioProcessorEditor* editor = hosted.get();
    };

    const auto accentPurple = juce::Colour::fromString ("FF3a104a");
}

TEST (EditorWiring, GainLabelsShowValuesAndTakeTypedOnes)
{
    EXPECT_EQ (TessalineAudioProcessorEditor::gainValueText ("input", 0.004), "0 dB");
    EXPECT_EQ (TessalineAudioProcessorEditor::gainValueText ("output", -0.004), "0 dB");
    EXPECT_EQ (TessalineAudioProcessorEditor::gainValueText ("input", 1.5), "1.50 dB");
    EXPECT_EQ (TessalineAudioProcessorEditor::gainValueText ("output", -6.0), "-6.00 dB");
    EXPECT_EQ (TessalineAudioProcessorEditor::gainValueText ("mix", 0.0), "0.00 %");
    EXPECT_EQ (TessalineAudioProcessorEditor::gainValueText ("mix", 50.0), "50.00 %");

    OpenedEditor e;
    EXPECT_EQ (e.editor->inputLabel.getText(), "IN");
    e.editor->inputLabel.setText ("-6 dB", juce::sendNotificationSync);
    EXPECT_FLOAT_EQ (e.raw ("input"), -6.0f);
    EXPECT_EQ (e.editor->inputLabel.getText(), "IN");

    e.editor->mixLabel.setText ("200", juce::sendNotificationSync);
    EXPECT_FLOAT_EQ (e.raw ("mix"), 100.0f);
    EXPECT_EQ (e.editor->mixLabel.getText(), "MIX");

    e.editor->outputLabel.setText ("loud", juce::sendNotificationSync);
    EXPECT_FLOAT_EQ (e.raw ("output"), 0.0f);

    // The field opens with the value selected.
    e.editor->mixLabel.showEditor();
    ASSERT_NE (e.editor->mixLabel.getCurrentTextEditor(), nullptr);
    EXPECT_EQ (e.editor->mixLabel.getCurrentTextEditor()->getText(), "100.00 %");
    EXPECT_EQ (e.editor->mixLabel.getCurrentTextEditor()->getHighlightedText(), "100.00 %");
    e.editor->mixLabel.hideEditor (true);

    // Host automation moves the slider, not the label.
    e.p.setParameter ("output", 3.0f);
    pumpMessages (20);
    EXPECT_NEAR (e.editor->outputSlider.getValue(), 3.0, 1.0e-3);
    EXPECT_EQ (e.editor->outputLabel.getText(), "OUT");
}

TEST (EditorWiring, ResetPutsEveryEffectParameterBackToItsDefault)
{
    OpenedEditor e;
    for (int n = 0; n < 8; ++n)
    {
        e.p.setParameter ("sound_" + juce::String (n) + "_echo_attribute", 900.0f);
        e.p.setParameter ("sound_" + juce::String (n) + "_warmth_mix", 70.0f);
        e.p.setParameter ("sound_" + juce::String (n) + "_pitch_attribute", -4.0f);
    }
    e.p.setParameter ("mix", 80.0f);

    e.editor->resetButton->triggerClick();
    pumpMessages (30);

    for (auto* parameter : e.p.processor.getParameters())
    {
        auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (parameter);
        if (ranged->getParameterID().startsWith ("sound_"))
        {
            EXPECT_FLOAT_EQ (ranged->getValue(), ranged->getDefaultValue()) << ranged->getParameterID();
        }
    }
    EXPECT_FLOAT_EQ (e.raw ("mix"), 80.0f); // only the effect parameters
}

TEST (EditorWiring, EffectsToggleDimsAndDisablesTheEffectControls)
{
    OpenedEditor e;
    const auto expectEffectControls = [&e] (bool on)
    {
        const auto alpha = on ? 1.0f : 0.5f;
        for (int i = 0; i < 8; ++i)
        {
            EXPECT_EQ (e.editor->effectChains[(size_t) i]->isEnabled(), on);
            EXPECT_NEAR (e.editor->effectChains[(size_t) i]->getAlpha(), alpha, 0.01f);
            EXPECT_EQ (e.editor->chainButtons[(size_t) i].isEnabled(), on);
        }
        EXPECT_EQ (e.editor->resetButton->isEnabled(), on);
        EXPECT_NEAR (e.editor->resetButton->getAlpha(), alpha, 0.01f);
        EXPECT_NEAR (e.editor->effectsOnButton->getAlpha(), alpha, 0.01f);
    };

    expectEffectControls (true);
    e.editor->effectsOnButton->triggerClick();
    pumpMessages (30);
    EXPECT_LT (e.raw ("effectsOn"), 0.5f);
    expectEffectControls (false);

    e.editor->effectsOnButton->triggerClick();
    pumpMessages (30);
    EXPECT_GE (e.raw ("effectsOn"), 0.5f);
    expectEffectControls (true);

    // Automation from the host flips the switch but leaves the panels as they are.
    e.p.setParameter ("effectsOn", 0.0f);
    pumpMessages (30);
    EXPECT_FALSE (e.editor->effectsOnButton->getToggleState());
    EXPECT_TRUE (e.editor->effectChains[0]->isEnabled());

    // Opening the editor takes the look from the parameter.
    e.close();
    e.open();
    EXPECT_FALSE (e.editor->effectChains[3]->isEnabled());
    EXPECT_NEAR (e.editor->effectsOnButton->getAlpha(), 0.5f, 0.01f);
}

TEST (EditorWiring, PageSwitchingIsRememberedInTheProject)
{
    OpenedEditor e;
    e.paint();
    EXPECT_TRUE (e.editor->mainSampleButton->isVisible());
    EXPECT_FALSE (e.editor->sequencerGrid->isVisible());
    EXPECT_EQ (e.editor->pageSwitchButton->getX(), 643);

    e.editor->pageSwitchButton->triggerClick();
    pumpMessages (30);
    e.paint();
    EXPECT_EQ ((int) e.p.processor.parameters.state["uiPageNum"], 1);
    EXPECT_EQ (e.editor->pageSwitchButton->pageName, "DASHBOARD");
    EXPECT_EQ (e.editor->pageSwitchButton->getName(), "DASHBOARD");
    EXPECT_FALSE (e.editor->pageSwitchButton->pointsRight);
    EXPECT_EQ (e.editor->pageSwitchButton->getX(), 31);
    EXPECT_TRUE (e.editor->sequencerGrid->isVisible());
    EXPECT_FALSE (e.editor->mainSampleButton->isVisible());
    EXPECT_FALSE (e.editor->effectChains[0]->isVisible());
    EXPECT_TRUE (e.editor->sequencerRewindButton->isVisible());
    EXPECT_FALSE (e.editor->dashboardRewindButton->isVisible());

    // Reopened, the editor comes back on the sequencer page.
    e.close();
    e.open();
    EXPECT_EQ (e.editor->getPage(), 1);
    EXPECT_EQ (e.editor->pageSwitchButton->getX(), 31);

    e.editor->pageSwitchButton->triggerClick();
    pumpMessages (30);
    EXPECT_EQ ((int) e.p.processor.parameters.state["uiPageNum"], 0);
    EXPECT_EQ (e.editor->pageSwitchButton->getX(), 643);
}

TEST (EditorWiring, ChainButtonsChooseTheVisiblePanel)
{
    OpenedEditor e;
    e.editor->chainButtons[4].triggerClick();
    pumpMessages (30);
    e.paint();

    for (int i = 0; i < 8; ++i)
    {
        EXPECT_EQ (e.editor->effectChains[(size_t) i]->isVisible(), i == 4);
        EXPECT_EQ (e.editor->chainButtons[(size_t) i].findColour (juce::TextButton::buttonColourId),
                   i == 4 ? accentPurple : juce::Colours::transparentBlack);
    }

    e.close();
    e.open();
    EXPECT_EQ (e.editor->selectedChain, 0);
    EXPECT_TRUE (e.editor->effectChains[0]->isVisible());
}

TEST (EditorWiring, SlotsShowOneMoreButtonPerLoadedSlot)
{
    OpenedEditor e;
    const auto visible = [&e] (int v)
    {
        std::array<bool, 3> result {};
        for (int s = 0; s < 3; ++s)
            result[(size_t) s] = e.editor->slotButtons[(size_t) v][(size_t) s]->isVisible();
        return result;
    };

    EXPECT_EQ (visible (3), (std::array<bool, 3> { true, false, false }));
    const auto file = e.p.files.writeAudio ("hit.wav", ramp (2, 500));
    e.editor->slotButtons[3][0]->loadAudioFile (file);
    EXPECT_EQ (visible (3), (std::array<bool, 3> { true, true, false }));
    EXPECT_EQ (e.p.processor.parameters.state["variation3slot0FilePath"].toString(), file.getFullPathName());
    EXPECT_TRUE (e.editor->slotButtons[3][0]->volumeSlider.isVisible());

    e.editor->slotButtons[3][1]->loadAudioFile (file);
    EXPECT_EQ (visible (3), (std::array<bool, 3> { true, true, true }));

    // Reopened from the project's records.
    e.close();
    e.open();
    EXPECT_TRUE (e.editor->slotButtons[3][0]->isLoaded);
    EXPECT_TRUE (e.editor->slotButtons[3][0]->volumeSlider.isVisible());
    EXPECT_FALSE (e.editor->slotButtons[3][2]->isLoaded);
    EXPECT_FALSE (e.editor->slotButtons[3][2]->volumeSlider.isVisible());
    EXPECT_EQ (visible (3), (std::array<bool, 3> { true, true, true }));
    EXPECT_EQ (visible (4), (std::array<bool, 3> { true, false, false }));
}

TEST (EditorWiring, VariationMenuCopiesPastesAndClearsWholeVariations)
{
    OpenedEditor e;
    auto& editor = *e.editor;
    const auto a = e.p.files.writeAudio ("a.wav", ramp (1, 300));
    const auto b = e.p.files.writeAudio ("b.wav", ramp (2, 400));
    const auto& state = e.p.processor.parameters.state;

    editor.slotButtons[0][0]->loadAudioFile (a);
    e.p.setParameter ("variation_1_slot_1_volume", -3.0f);
    for (int s = 0; s < 3; ++s)
        editor.slotButtons[1][(size_t) s]->loadAudioFile (b);

    // Paste with an empty clipboard changes nothing.
    editor.handleMenuResult (1, TessalineAudioProcessorEditor::pasteItem);
    EXPECT_TRUE (editor.slotButtons[1][2]->isLoaded);

    // One loaded slot copied over three: the target keeps only its first slot.
    editor.handleMenuResult (0, TessalineAudioProcessorEditor::copyItem);
    editor.handleMenuResult (1, TessalineAudioProcessorEditor::pasteItem);
    EXPECT_TRUE (editor.slotButtons[1][0]->isLoaded);
    EXPECT_FALSE (editor.slotButtons[1][1]->isLoaded);
    EXPECT_FALSE (editor.slotButtons[1][2]->isLoaded);
    EXPECT_TRUE (editor.slotButtons[1][1]->isVisible());
    EXPECT_FALSE (editor.slotButtons[1][2]->isVisible());
    EXPECT_EQ (state["variation1slot0FilePath"].toString(), a.getFullPathName());
    EXPECT_FALSE (state.hasProperty ("variation1slot2FilePath"));
    EXPECT_FLOAT_EQ (e.raw ("variation_2_slot_1_volume"), -3.0f);

    // Copy, clear, paste into the same variation: decoded again, volume set again.
    editor.handleMenuResult (1, TessalineAudioProcessorEditor::copyItem);
    editor.handleMenuResult (1, TessalineAudioProcessorEditor::clearItem);
    EXPECT_FALSE (editor.slotButtons[1][0]->isLoaded);
    EXPECT_FALSE (state.hasProperty ("variation1slot0FilePath"));
    e.p.setParameter ("variation_2_slot_1_volume", 5.0f);
    editor.handleMenuResult (1, TessalineAudioProcessorEditor::pasteItem);
    EXPECT_TRUE (editor.slotButtons[1][0]->isLoaded);
    EXPECT_EQ (state["variation1slot0FilePath"].toString(), a.getFullPathName());
    EXPECT_FLOAT_EQ (e.raw ("variation_2_slot_1_volume"), -3.0f);

    // A dismissed menu does nothing.
    editor.handleMenuResult (1, 0);
    EXPECT_TRUE (editor.slotButtons[1][0]->isLoaded);
}

TEST (EditorWiring, NotesLightTheirStepAndVariationAndRewindClearsThem)
{
    OpenedEditor e;
    auto& editor = *e.editor;

    e.p.process (notesAt ({ { 60, 0 }, { 62, 10 } }));
    pumpMessages (40);
    EXPECT_TRUE (editor.sequencerGrid->steps[2]->isPlaying);
    EXPECT_FALSE (editor.sequencerGrid->steps[1]->isPlaying);
    EXPECT_TRUE (editor.isVariationPlaying (2));

    // Two notifications in a row: the step moves, the same variation stays lit.
    editor.displayPlayback (3, 2);
    editor.displayPlayback (4, 2);
    EXPECT_FALSE (editor.sequencerGrid->steps[3]->isPlaying);
    EXPECT_TRUE (editor.sequencerGrid->steps[4]->isPlaying);
    EXPECT_TRUE (editor.isVariationPlaying (2));

    // Rewind during playback: everything goes dark and the next note plays the first enabled step.
    editor.handleRewindClick();
    EXPECT_FALSE (editor.sequencerGrid->steps[4]->isPlaying);
    EXPECT_FALSE (editor.isVariationPlaying (2));
    EXPECT_EQ (editor.sequencerGrid->currentStep, -1);
    EXPECT_EQ ((int) e.p.processor.parameters.state["variationPlaybackIndex"], 0);

    e.p.process (notesAt ({ { 60, 0 } }));
    pumpMessages (40);
    EXPECT_EQ (e.p.processor.engine.lastStep.load(), 0);
    EXPECT_TRUE (editor.sequencerGrid->steps[0]->isPlaying);
    EXPECT_TRUE (editor.isVariationPlaying (0));
}

TEST (EditorWiring, ARestoredMainSampleReachesTheOpenEditor)
{
    OpenedEditor e;
    PreparedProcessor other;
    other.processor.loadMainSampleFile (other.files.writeAudio ("main.wav", ramp (1, 3000)));
    juce::MemoryBlock blob;
    other.processor.getStateInformation (blob);

    EXPECT_FALSE (e.editor->mainSampleButton->isLoaded);
    std::thread host ([&] { e.p.processor.setStateInformation (blob.getData(), (int) blob.getSize()); });
    host.join();
    pumpMessages (40);
    EXPECT_TRUE (e.editor->mainSampleButton->isLoaded);
    EXPECT_TRUE (e.editor->mainSampleButton->getWaveformImage().isValid());

    // A newly opened editor shows the sample the processor holds.
    e.close();
    e.open();
    EXPECT_TRUE (e.editor->mainSampleButton->isLoaded);
    EXPECT_TRUE (e.editor->mainSampleButton->getWaveformImage().isValid());
}
