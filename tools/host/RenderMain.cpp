// tessaline-render: loads a built Tessaline VST3 bundle through JUCE's VST3 hosting, plays a
// short phrase into it and writes what it returns to a WAV file.

#include "BundleHost.h"

#include <iostream>

namespace
{
    constexpr auto usage =
        "Usage: tessaline-render [--bundle PATH] [--out FILE.wav] [--rate HZ] [--block SAMPLES]\n"
        "\n"
        "Plays a phrase of eight notes (one every quarter second) through the Tessaline VST3\n"
        "bundle and writes the result as a 24-bit stereo WAV file.\n"
        "\n"
        "  --bundle PATH     the bundle to load (default: ~/.vst3/Tessaline.vst3)\n"
        "  --out FILE.wav    where to write the audio (default: tessaline-phrase.wav)\n"
        "  --rate HZ         sample rate (default: 48000)\n"
        "  --block SAMPLES   block size (default: 512)\n";

    // The value of "--name VALUE" or "--name=VALUE", empty when the option is absent.
    juce::String optionValue (const juce::StringArray& arguments, const juce::String& name)
    {
        for (int i = 0; i < arguments.size(); ++i)
        {
            if (arguments[i] == name)
                return arguments[i + 1];
            if (arguments[i].startsWith (name + "="))
                return arguments[i].fromFirstOccurrenceOf ("=", false, false);
        }
        return {};
    }

    int fail (const juce::String& message)
    {
        std::cerr << "tessaline-render: " << message << std::endl;
        return 1;
    }

    bool writeWav (const juce::AudioBuffer<float>& audio, double sampleRate, const juce::File& file)
    {
        const auto temporary = file.getSiblingFile (file.getFileName() + ".part");
        {
            std::unique_ptr<juce::OutputStream> stream = std::make_unique<juce::FileOutputStream> (temporary);
            if (! static_cast<juce::FileOutputStream&> (*stream).openedOk())
                return false;

            juce::WavAudioFormat wav;
            std::unique_ptr<juce::AudioFormatWriter> writer (
                wav.createWriterFor (stream.get(), sampleRate, (unsigned int) audio.getNumChannels(), 24, {}, 0));
            if (writer == nullptr)
                return false;

            stream.release(); // the writer owns it now
            if (! writer->writeFromAudioSampleBuffer (audio, 0, audio.getNumSamples()))
                return false;
        }
        return temporary.moveFileTo (file);
    }
}

int main (int argc, char* argv[])
{
    const juce::ScopedJuceInitialiser_GUI juce;
    juce::StringArray arguments;
    for (int i = 1; i < argc; ++i)
        arguments.add (juce::String::fromUTF8 (argv[i]));

    if (arguments.contains ("--help") || arguments.contains ("-h"))
    {
        std::cout << usage;
        return 0;
    }

    const auto bundleText = optionValue (arguments, "--bundle");
    const auto bundle = bundleText.isNotEmpty() ? juce::File::getCurrentWorkingDirectory().getChildFile (bundleText)
                                                : BundleHost::installedBundle();
    const auto outText = optionValue (arguments, "--out");
    const auto out = juce::File::getCurrentWorkingDirectory().getChildFile (outText.isNotEmpty() ? outText : "tessaline-phrase.wav");
    const auto rateText = optionValue (arguments, "--rate");
    const auto blockText = optionValue (arguments, "--block");
    const auto sampleRate = rateText.isNotEmpty() ? rateText.getDoubleValue() : 48000.0;
    const auto blockSize = blockText.isNotEmpty() ? blockText.getIntValue() : 512;

    if (sampleRate < 8000.0 || sampleRate > 384000.0)
        return fail ("--rate must be between 8000 and 384000 Hz");
    if (blockSize < 1 || blockSize > 8192)
        return fail ("--block must be between 1 and 8192 samples");

    juce::String error;
    auto plugin = BundleHost::load (bundle, sampleRate, blockSize, error);
    if (plugin == nullptr)
        return fail ("cannot load " + bundle.getFullPathName() + ": " + error);

    constexpr int phrase[] { 24, 26, 28, 29, 31, 33, 35, 36 };
    const auto noteSpacing = (int) (sampleRate * 0.25);
    juce::MidiBuffer midi;
    int position = 0;

    for (const auto note : phrase)
    {
        midi.addEvent (juce::MidiMessage::noteOn (1, note, (juce::uint8) 100), position);
        midi.addEvent (juce::MidiMessage::noteOff (1, note), position + noteSpacing - 1);
        position += noteSpacing;
    }

    const auto audio = BundleHost::render (*plugin, midi, position + (int) sampleRate, blockSize);
    plugin->releaseResources();

    if (! writeWav (audio, sampleRate, out))
        return fail ("cannot write " + out.getFullPathName());

    std::cout << "Loaded " << plugin->getName() << " (" << bundle.getFullPathName() << ")\n"
              << "Rendered " << juce::String (audio.getNumSamples() / sampleRate, 2) << " s, peak "
              << juce::String (juce::Decibels::gainToDecibels (audio.getMagnitude (0, audio.getNumSamples())), 1)
              << " dBFS, to " << out.getFullPathName() << std::endl;
    return 0;
}
