#include "BundleHost.h"

namespace BundleHost
{
juce::File installedBundle()
{
    return juce::File::getSpecialLocation (juce::File::userHomeDirectory).getChildFile (".vst3/Tessaline.vst3");
}

std::unique_ptr<juce::AudioPluginInstance> load (const juce::File& bundle, double sampleRate, int blockSize,
                                                 juce::String& error)
{
    if (! bundle.isDirectory())
    {
        error = "no VST3 bundle at " + bundle.getFullPathName();
        return {};
    }

    juce::VST3PluginFormat format;
    juce::OwnedArray<juce::PluginDescription> descriptions;
    format.findAllTypesForFile (descriptions, bundle.getFullPathName());

    if (descriptions.isEmpty())
    {
        error = "the bundle " + bundle.getFullPathName() + " holds no VST3 plug-in that loads";
        return {};
    }

    auto instance = format.createInstanceFromDescription (*descriptions.getFirst(), sampleRate, blockSize, error);
    if (instance == nullptr)
        return {};

    auto layout = instance->getBusesLayout();
    if (! layout.outputBuses.isEmpty())
        layout.outputBuses.getReference (0) = juce::AudioChannelSet::stereo();
    instance->setBusesLayout (layout);
    instance->setRateAndBufferSizeDetails (sampleRate, blockSize);
    instance->prepareToPlay (sampleRate, blockSize);
    return instance;
}

juce::AudioBuffer<float> render (juce::AudioPluginInstance& plugin, const juce::MidiBuffer& midi,
                                 int numSamples, int blockSize)
{
    const auto numChannels = juce::jmax (plugin.getTotalNumInputChannels(), plugin.getTotalNumOutputChannels());
    juce::AudioBuffer<float> result (plugin.getTotalNumOutputChannels(), numSamples);
    juce::AudioBuffer<float> block (numChannels, blockSize);
    juce::MidiBuffer blockMidi;

    for (int start = 0; start < numSamples; start += blockSize)
    {
        const auto length = juce::jmin (blockSize, numSamples - start);
        block.setSize (numChannels, length, false, false, true);
        block.clear();
        blockMidi.clear();
        blockMidi.addEvents (midi, start, length, -start);

        plugin.processBlock (block, blockMidi);

        for (int ch = 0; ch < result.getNumChannels(); ++ch)
            result.copyFrom (ch, start, block, ch, 0, length);
    }

    return result;
}
}
