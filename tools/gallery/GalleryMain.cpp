// tessaline-gallery: renders the editor's two pages and each component in its main states into
// PNG files, so that the drawing can be looked at without a host.

#include "BinaryData.h"
#include "components/AudioFileButton.h"
#include "components/EffectChain.h"
#include "components/LookAndFeels.h"
#include "components/Sequencer.h"
#include "components/VariationFileButton.h"
#include "editor/EditorButtons.h"
#include "editor/PluginEditor.h"

#include <iostream>

namespace
{
    const auto backdrop = juce::Colour (0xff24092f);

    // Draws a component on the editor's purple, enlarged so that small parts can be inspected.
    void save (juce::Component& component, const juce::File& folder, const juce::String& name, int zoom = 1)
    {
        juce::Image image (juce::Image::ARGB, component.getWidth() * zoom, component.getHeight() * zoom, true);
        {
            juce::Graphics g (image);
            g.fillAll (backdrop);
            g.addTransform (juce::AffineTransform::scale ((float) zoom));
            component.paintEntireComponent (g, true);
        }

        const auto file = folder.getChildFile (name + ".png");
        file.deleteFile();
        juce::FileOutputStream stream (file);
        juce::PNGImageFormat().writeImageToStream (image, stream);
        std::cout << file.getFullPathName() << "\n";
    }

    juce::AudioBuffer<float> pluck (int numSamples)
    {
        juce::AudioBuffer<float> audio (2, numSamples);
        for (int i = 0; i < numSamples; ++i)
        {
            const auto t = (float) i / 48000.0f;
            const auto value = 0.9f * std::exp (-4.0f * t) * std::sin (juce::MathConstants<float>::twoPi * 3.0f * t * 40.0f);
            audio.setSample (0, i, value);
            audio.setSample (1, i, value * 0.5f);
        }
        return audio;
    }
}

int main (int argc, char* argv[])
{
    const juce::ScopedJuceInitialiser_GUI juce;
    const juce::File folder (juce::File::getCurrentWorkingDirectory().getChildFile (argc > 1 ? argv[1] : "gallery"));
    folder.createDirectory();

    TessalineAudioProcessor processor;
    const auto samples = folder.getChildFile ("samples");
    samples.createDirectory();
    const auto writeSample = [&samples] (const juce::String& name, int numSamples)
    {
        const auto file = samples.getChildFile (name);
        std::unique_ptr<juce::OutputStream> stream = std::make_unique<juce::FileOutputStream> (file);
        juce::WavAudioFormat wav;
        std::unique_ptr<juce::AudioFormatWriter> writer (wav.createWriterFor (stream.get(), 48000.0, 2, 24, {}, 0));
        stream.release();
        writer->writeFromAudioSampleBuffer (pluck (numSamples), 0, numSamples);
        return file;
    };

    // The window in use: a main sample and some slots loaded, a step and a variation lit,
    // the third sound's panel chosen; then with the effects off, and on the sequencer page.
    {
        processor.loadMainSampleFile (writeSample ("main.wav", 48000));
        auto editor = std::unique_ptr<juce::AudioProcessorEditor> (processor.createEditorIfNeeded());
        auto& window = dynamic_cast<TessalineAudioProcessorEditor&> (*editor);
        for (const auto& [v, s] : { std::pair { 0, 0 }, std::pair { 0, 1 }, std::pair { 1, 0 }, std::pair { 2, 0 }, std::pair { 2, 1 }, std::pair { 2, 2 }, std::pair { 5, 0 } })
            window.slotButtons[(size_t) v][(size_t) s]->loadAudioFile (writeSample ("slot.wav", 4800));
        window.chainButtons[2].triggerClick();
        juce::MessageManager::getInstance()->runDispatchLoopUntil (50);
        window.displayPlayback (3, 2);
        save (window, folder, "window-dashboard");

        window.effectsOnButton->triggerClick();
        juce::MessageManager::getInstance()->runDispatchLoopUntil (50);
        save (window, folder, "window-dashboard-effects-off");

        window.pageSwitchButton->triggerClick();
        juce::MessageManager::getInstance()->runDispatchLoopUntil (50);
        save (window, folder, "window-sequencer");
        window.pageSwitchButton->triggerClick();
        window.effectsOnButton->triggerClick();
        juce::MessageManager::getInstance()->runDispatchLoopUntil (50);
        processor.editorBeingDeleted (editor.get());
    }
    samples.deleteRecursively();

    // The components on their own. The main-sample button: idle, hovered, with a waveform.
    AudioFileButton main;
    save (main, folder, "main-sample-idle");
    main.buttonState = SampleFiles::Hover;
    save (main, folder, "main-sample-hover");
    main.updateWaveformImage (pluck (48000));
    main.isLoaded = true;
    main.buttonState = SampleFiles::Loaded;
    save (main, folder, "main-sample-loaded");

    // A slot button: idle, hovered, loaded with its knob.
    VariationFileButton slot ({ 0, 0, 60, 48 }, BinaryData::loadIconGrey, BinaryData::loadIconGreySize,
                              BinaryData::loadIconWhite, BinaryData::loadIconWhiteSize, processor.parameters, "variation_1_slot_1_volume");
    slot.volumeSlider.setVisible (false);
    save (slot, folder, "slot-idle", 4);
    slot.buttonState = SampleFiles::Hover;
    save (slot, folder, "slot-hover", 4);
    slot.showLoaded();
    save (slot, folder, "slot-loaded", 4);

    // The grid with row 1 on and a playing step.
    processor.parameters.state.getChildWithName ("SequencerState").setProperty ("rowEnabled1", true, nullptr);
    Sequencer grid (processor.parameters);
    grid.steps[10]->isPlaying = true;
    save (grid, folder, "sequencer-grid");

    // An effect panel.
    EffectChain chain (processor.parameters, 0);
    chain.setSize (800, 185);
    chain.knobs[3].slider.setValue (60.0);
    save (chain, folder, "effect-chain");

    // The small buttons.
    PageSwitchButton page;
    page.setSize (124, 17);
    save (page, folder, "page-button-sequencer", 4);
    page.pageName = "DASHBOARD";
    page.pointsRight = false;
    save (page, folder, "page-button-dashboard", 4);

    BurgerButton burger;
    burger.setSize (10, 10);
    save (burger, folder, "burger-button", 8);

    RewindButton rewind;
    rewind.setSize (24, 13);
    save (rewind, folder, "rewind-button", 8);

    // The knobs and slider styles at their minimum, middle and maximum.
    OutlineKnobLookAndFeel outline;
    VariationKnobLookAndFeel variation;
    HorizontalSliderLookAndFeel horizontal;
    for (const auto value : { 0.0, 0.5, 1.0 })
    {
        const auto suffix = "-" + juce::String (juce::roundToInt (value * 100));

        juce::Slider knob (juce::Slider::RotaryVerticalDrag, juce::Slider::NoTextBox);
        knob.setRange (0.0, 1.0);
        knob.setValue (value);
        knob.setSize (38, 38);
        knob.setLookAndFeel (&outline);
        save (knob, folder, "effect-knob" + suffix, 4);

        knob.setSize (28, 28);
        knob.setLookAndFeel (&variation);
        save (knob, folder, "slot-knob" + suffix, 4);
        knob.setLookAndFeel (nullptr);

        juce::Slider gain (juce::Slider::LinearHorizontal, juce::Slider::NoTextBox);
        gain.setRange (0.0, 1.0);
        gain.setValue (value);
        gain.setSize (178, 15);
        gain.setColour (juce::Slider::thumbColourId, juce::Colours::white);
        gain.setColour (juce::Slider::trackColourId, juce::Colours::white);
        gain.setLookAndFeel (&horizontal);
        save (gain, folder, "gain-slider" + suffix, 2);
        gain.setLookAndFeel (nullptr);
    }

    ChainSelectorLookAndFeel selector;
    juce::TextButton chainButton ("1");
    chainButton.setSize (38, 17);
    chainButton.setLookAndFeel (&selector);
    chainButton.setColour (juce::TextButton::buttonColourId, juce::Colour::fromString ("FF3a104a"));
    save (chainButton, folder, "chain-button-selected", 4);
    chainButton.setColour (juce::TextButton::buttonColourId, juce::Colours::transparentBlack);
    save (chainButton, folder, "chain-button", 4);
    chainButton.setLookAndFeel (nullptr);

    return 0;
}
