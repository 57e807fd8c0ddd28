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

namespace
{
    // JUCE's VST3 hosting stores a plug-in's state as XML holding the component state in its own
    // Base64 flavour.
    constexpr auto hostStateTag = "VST3PluginState";
    constexpr auto componentTag = "IComponent";
}

juce::MemoryBlock getProcessorState (juce::AudioPluginInstance& plugin)
{
    juce::MemoryBlock hostState;
    plugin.getStateInformation (hostState);

    juce::MemoryBlock component;
    if (const auto xml = juce::AudioProcessor::getXmlFromBinary (hostState.getData(), (int) hostState.getSize()))
        if (const auto* element = xml->getChildByName (componentTag))
            component.fromBase64Encoding (element->getAllSubText());

    return component;
}

void setProcessorState (juce::AudioPluginInstance& plugin, const juce::MemoryBlock& processorState)
{
    juce::XmlElement xml (hostStateTag);
    xml.createNewChildElement (componentTag)->addTextElement (processorState.toBase64Encoding());

    juce::MemoryBlock hostState;
    juce::AudioProcessor::copyXmlToBinary (xml, hostState);
    plugin.setStateInformation (hostState.getData(), (int) hostState.getSize());
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
