#include "BundleHost.h"

#include "processor/ProjectState.h"

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

juce::AudioProcessorParameter* findParameter (juce::AudioPluginInstance& plugin, const juce::String& id)
{
    // JUCE's VST3 wrapper publishes each parameter under the 31-bit hash of its string ID.
    const auto vst3Id = juce::String ((juce::uint32) id.hashCode() & 0x7fffffffu);

    for (auto* parameter : plugin.getParameters())
        if (auto* hosted = dynamic_cast<juce::HostedAudioProcessorParameter*> (parameter))
            if (hosted->getParameterID() == vst3Id)
                return parameter;

    return nullptr;
}

juce::MemoryBlock getProcessorState (juce::AudioPluginInstance& plugin)
{
    juce::MemoryBlock hostState;
    plugin.getStateInformation (hostState);

    juce::MemoryBlock component;
    if (const auto xml = juce::AudioProcessor::getXmlFromBinary (hostState.getData(), (int) hostState.getSize()))
        if (const auto* element = xml->getChildByName (componentTag))
            component.fromBase64Encoding (element->getAllSubText());

    // The wrapper may append data of its own after the plug-in's blob, whose header says where it ends.
    constexpr auto headerSize = (size_t) ProjectState::headerSize;
    if (component.getSize() > headerSize && juce::ByteOrder::littleEndianInt (component.getData()) == ProjectState::magicNumber)
    {
        const auto length = (size_t) juce::ByteOrder::littleEndianInt (static_cast<const char*> (component.getData()) + 4);
        component.setSize (juce::jmin (component.getSize(), headerSize + length + 1));
    }

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
