// tessaline-render: a command-line host for the Tessaline VST3 bundle. It loads the bundle through
// JUCE's VST3 hosting, as a DAW does, sets up samples and parameters through the plug-in's own
// saved-state format, plays notes into it offline and writes the result.

#include "BundleHost.h"
#include "DemoKit.h"
#include "KitState.h"
#include "Phrase.h"
#include "RenderOptions.h"
#include "WaveformPicture.h"

#include "processor/SampleSlots.h"

#include <iostream>
#include <unistd.h>

namespace
{
    constexpr double progressAfterSeconds = 3.0;

    // A failure with the message to show; thrown where it is found, caught in main.
    struct Failure
    {
        juce::String message;
        int exitCode = 1;
    };

    juce::AudioBuffer<float> decode (const juce::File& file)
    {
        if (! file.existsAsFile())
            throw Failure { "no such file: " + file.getFullPathName() };

        auto audio = SampleSlots::decodeFile (file);
        if (audio == nullptr)
            throw Failure { "cannot decode audio file: " + file.getFullPathName() };

        return *audio;
    }

    KitState startingState (juce::AudioPluginInstance& plugin, const RenderOptions& options)
    {
        juce::MemoryBlock blob;
        if (options.stateFile)
        {
            if (! options.stateFile->loadFileAsData (blob))
                throw Failure { "cannot read state file: " + options.stateFile->getFullPathName() };
        }
        else
        {
            blob = BundleHost::getProcessorState (plugin);
        }

        juce::String error;
        auto state = KitState::fromBlob (blob, error);
        if (! state)
            throw Failure { (options.stateFile ? "state file " + options.stateFile->getFullPathName() : juce::String ("the plug-in's state"))
                            + " is " + error };
        return *state;
    }

    void applySetting (juce::AudioPluginInstance& plugin, const juce::String& id, const juce::String& valueText)
    {
        auto* parameter = BundleHost::findParameter (plugin, id);
        if (parameter == nullptr)
            throw Failure { "unknown parameter '" + id + "'" };

        const auto value = valueText.getFloatValue();
        const auto lowest = parameter->getText (0.0f, 32).getFloatValue();
        const auto highest = parameter->getText (1.0f, 32).getFloatValue();
        const auto tolerance = 1.0e-4f * juce::jmax (1.0f, std::abs (highest - lowest));

        if (value < lowest - tolerance || value > highest + tolerance)
            throw Failure { "value " + valueText + " for " + id + " is outside its range, " + juce::String (lowest) + " to " + juce::String (highest) };

        parameter->setValueNotifyingHost (parameter->getValueForText (valueText));
    }

    Phrase phraseFor (const RenderOptions& options)
    {
        juce::String error;
        std::optional<Phrase> phrase;

        if (options.notes)
            phrase = Phrase::fromText (*options.notes, error);
        else if (options.midiFile)
            phrase = Phrase::fromMidiFile (*options.midiFile, error);
        else
            phrase = DemoKit::phrase();

        if (! phrase)
            throw Failure { error, options.notes ? 2 : 1 };
        return *phrase;
    }

    // Renders block by block, drawing a progress bar on a terminal for longer renders.
    juce::AudioBuffer<float> render (juce::AudioPluginInstance& plugin, const juce::MidiBuffer& midi,
                                     int numSamples, const RenderOptions& options)
    {
        const auto showProgress = isatty (STDERR_FILENO) != 0 && numSamples > progressAfterSeconds * options.sampleRate;
        constexpr int barWidth = 40;
        const auto chunk = options.blockSize * 64;

        juce::AudioBuffer<float> result (2, numSamples);
        for (int start = 0; start < numSamples; start += chunk)
        {
            const auto length = juce::jmin (chunk, numSamples - start);
            juce::MidiBuffer chunkMidi;
            chunkMidi.addEvents (midi, start, length, -start);
            const auto part = BundleHost::render (plugin, chunkMidi, length, options.blockSize);

            for (int c = 0; c < result.getNumChannels(); ++c)
                result.copyFrom (c, start, part, juce::jmin (c, part.getNumChannels() - 1), 0, length);

            if (showProgress)
            {
                const auto done = (start + length) * barWidth / numSamples;
                std::cerr << "\rRendering [" << std::string ((size_t) done, '#') << std::string ((size_t) (barWidth - done), ' ')
                          << "] " << (start + length) * 100 / numSamples << "%" << std::flush;
            }
        }

        if (showProgress)
            std::cerr << std::endl;
        return result;
    }

    // Writes through a temporary file beside the target, so that a failure leaves nothing behind.
    template <typename Write>
    void writeWhole (const juce::File& target, Write&& write)
    {
        const juce::TemporaryFile temporary (target);
        if (! write (temporary.getFile()) || ! temporary.overwriteTargetFileWithTemporary())
            throw Failure { "cannot write " + target.getFullPathName() };
    }

    bool writeWav (const juce::File& file, const juce::AudioBuffer<float>& audio, double sampleRate, int bits)
    {
        auto stream = std::make_unique<juce::FileOutputStream> (file);
        if (! stream->openedOk())
            return false;

        juce::WavAudioFormat wav;
        std::unique_ptr<juce::AudioFormatWriter> writer (
            wav.createWriterFor (stream.get(), sampleRate, (unsigned int) audio.getNumChannels(), bits, {}, 0));
        if (writer == nullptr)
            return false;

        stream.release(); // the writer owns it now
        return writer->writeFromAudioSampleBuffer (audio, 0, audio.getNumSamples());
    }

    bool writePng (const juce::File& file, const juce::Image& image)
    {
        juce::FileOutputStream stream (file);
        juce::PNGImageFormat png;
        return stream.openedOk() && png.writeImageToStream (image, stream);
    }

    juce::File defaultBundle()
    {
        const auto installed = BundleHost::installedBundle();
        return installed.isDirectory() ? installed : juce::File (TESSALINE_BUILT_BUNDLE);
    }

    int run (const juce::StringArray& arguments)
    {
        juce::String error;
        const auto parsed = RenderOptions::parse (arguments, defaultBundle(), error);
        if (! parsed)
            throw Failure { error + " (see --help)", 2 };

        const auto& options = *parsed;
        if (options.help)
        {
            std::cout << RenderOptions::usage;
            return 0;
        }

        // Everything that can be checked is checked before the plug-in is loaded.
        const auto phrase = phraseFor (options);
        const auto mainSample = options.mainFile ? std::optional (decode (*options.mainFile)) : std::nullopt;
        std::vector<juce::AudioBuffer<float>> slotSamples;
        for (const auto& slot : options.slotFiles)
            slotSamples.push_back (decode (slot.file));

        auto plugin = BundleHost::load (options.bundle, options.sampleRate, options.blockSize, error);
        if (plugin == nullptr)
            throw Failure { "cannot load the bundle " + options.bundle.getFullPathName() + ": " + error };

        auto state = startingState (*plugin, options);
        if (options.demo)
            DemoKit::addTo (state, options.sampleRate);
        if (mainSample)
            state.setMainSample (*mainSample);
        for (size_t i = 0; i < options.slotFiles.size(); ++i)
            state.setSlot (options.slotFiles[i].variation, options.slotFiles[i].slot, slotSamples[i],
                           options.slotFiles[i].file.getFullPathName());
        BundleHost::setProcessorState (*plugin, state.toBlob());

        if (options.demo)
            for (const auto& [id, value] : DemoKit::parameterSettings())
                applySetting (*plugin, id, juce::String (value));
        for (const auto& [id, value] : options.settings)
            applySetting (*plugin, id, value);

        const auto savedState = BundleHost::getProcessorState (*plugin);
        const auto numSamples = (int) std::ceil ((phrase.getEndSeconds() + options.tailSeconds) * options.sampleRate);
        const auto audio = render (*plugin, phrase.toMidi (options.sampleRate), numSamples, options);
        plugin->releaseResources();

        if (options.saveStateFile)
            writeWhole (*options.saveStateFile, [&] (const juce::File& f) { return f.replaceWithData (savedState.getData(), savedState.getSize()); });
        if (options.outFile)
            writeWhole (*options.outFile, [&] (const juce::File& f) { return writeWav (f, audio, options.sampleRate, options.bits); });
        if (options.pngFile)
            writeWhole (*options.pngFile, [&] (const juce::File& f) { return writePng (f, WaveformPicture::draw (audio, options.sampleRate)); });

        std::cout << "Rendered " << juce::String (numSamples / options.sampleRate, 2) << " s through "
                  << options.bundle.getFullPathName() << ", peak "
                  << juce::String (juce::Decibels::gainToDecibels (audio.getMagnitude (0, numSamples)), 1) << " dBFS\n";
        for (const auto& written : { options.outFile, options.pngFile, options.saveStateFile })
            if (written)
                std::cout << "Wrote " << written->getFullPathName() << "\n";
        return 0;
    }
}

int main (int argc, char* argv[])
{
    const juce::ScopedJuceInitialiser_GUI juce;

    juce::StringArray arguments;
    for (int i = 1; i < argc; ++i)
        arguments.add (juce::String::fromUTF8 (argv[i]));

    try
    {
        return run (arguments);
    }
    catch (const Failure& failure)
    {
        std::cerr << "tessaline-render: " << failure.message << std::endl;
        return failure.exitCode;
    }
}
