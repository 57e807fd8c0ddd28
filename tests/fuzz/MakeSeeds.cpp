// Writes the fuzzer's seed corpus: states saved by real instances, from a fresh one to one with a
// main sample, loaded slots, an edited pattern and a trigger count.

#include "processor/PluginProcessor.h"

#include <iostream>

namespace
{
    juce::File writeWav (const juce::File& folder, const juce::String& name, int numChannels, int numSamples)
    {
        juce::AudioBuffer<float> audio (numChannels, numSamples);
        for (int c = 0; c < numChannels; ++c)
            for (int i = 0; i < numSamples; ++i)
                audio.setSample (c, i, std::sin (0.3f * (float) (i + c)));

        const auto file = folder.getChildFile (name);
        std::unique_ptr<juce::OutputStream> stream = std::make_unique<juce::FileOutputStream> (file);
        juce::WavAudioFormat wav;
        std::unique_ptr<juce::AudioFormatWriter> writer (wav.createWriterFor (stream.get(), 48000.0, (unsigned int) numChannels, 32, {}, 0));
        stream.release();
        writer->writeFromAudioSampleBuffer (audio, 0, numSamples);
        return file;
    }

    void save (TessalineAudioProcessor& processor, const juce::File& file)
    {
        juce::MemoryBlock blob;
        processor.getStateInformation (blob);
        file.replaceWithData (blob.getData(), blob.getSize());
    }
}

int main (int argc, char* argv[])
{
    if (argc != 2)
    {
        std::cerr << "Usage: MakeSeeds DIRECTORY" << std::endl;
        return 2;
    }

    const juce::ScopedJuceInitialiser_GUI juce;
    const juce::File out (juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]));
    out.createDirectory();
    const auto samples = out.getChildFile ("samples");
    samples.createDirectory();

    TessalineAudioProcessor processor;
    processor.prepareToPlay (48000.0, 64);
    save (processor, out.getChildFile ("fresh.state"));

    processor.loadMainSampleFile (writeWav (samples, "main.wav", 1, 24));
    save (processor, out.getChildFile ("main-sample.state"));

    processor.loadVariationFile (0, 0, writeWav (samples, "a.wav", 2, 12));
    processor.loadVariationFile (3, 2, writeWav (samples, "b.wav", 1, 9));
    auto pattern = processor.parameters.state.getChildWithName ("SequencerState");
    pattern.setProperty ("rowEnabled2", true, nullptr);
    pattern.getChild (4).setProperty ("value", 7, nullptr);
    juce::AudioBuffer<float> buffer (2, 64);
    juce::MidiBuffer midi;
    midi.addEvent (juce::MidiMessage::noteOn (1, 40, (juce::uint8) 90), 3);
    processor.processBlock (buffer, midi);
    save (processor, out.getChildFile ("kit.state"));

    samples.deleteRecursively();
    return 0;
}
