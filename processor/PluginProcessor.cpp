#include "processor/PluginProcessor.h"

#include "editor/PluginEditor.h"
#include "processor/ProjectState.h"
#include "processor/SampleBinary.h"
#include "processor/SequencerState.h"

namespace
{
    // How often the message thread delivers trigger messages, mirrors the trigger count and frees
    // the buffers the audio thread has given up.
    constexpr int housekeepingIntervalMs = 10;
}

TessalineAudioProcessor::TessalineAudioProcessor()
    : AudioProcessor (BusesProperties().withOutput ("Output", juce::AudioChannelSet::stereo(), true)),
      parameters (*this, nullptr, "Parameters", Parameters::createParameterLayout()),
      engine (parameters, samples, sequencer, triggers)
{
    SequencerState::findOrCreate (parameters.state);

    // Listening on the root follows the pattern through edits and through a replaced state tree.
    parameters.state.addListener (this);
    refreshPattern();

    startTimer (housekeepingIntervalMs);
}

TessalineAudioProcessor::~TessalineAudioProcessor()
{
    stopTimer();
    parameters.state.removeListener (this);
}

//==============================================================================
bool TessalineAudioProcessor::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    const auto output = layouts.getMainOutputChannelSet();
    return output == juce::AudioChannelSet::mono() || output == juce::AudioChannelSet::stereo();
}

void TessalineAudioProcessor::prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock)
{
    engine.prepare (sampleRate, getTotalNumOutputChannels(), maximumExpectedSamplesPerBlock);
}

void TessalineAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi)
{
    const juce::ScopedNoDenormals noDenormals;
    engine.process (buffer, midi);
}

juce::AudioProcessorEditor* TessalineAudioProcessor::createEditor()
{
    return new TessalineAudioProcessorEditor (*this, parameters);
}

//==============================================================================
void TessalineAudioProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    const juce::ScopedLock lock (stateLock);

    // The copy carries the parameters' latest values; its strings share the tree's text.
    const auto xml = parameters.copyState().createXml();

    if (! mainSampleData.isEmpty())
        xml->setAttribute (mainSampleBinary, SampleBinary::toBase64 (mainSampleData));

    // The trigger count as the audio thread has it now, not as last mirrored into the tree.
    const auto counter = engine.playbackCounter.load();
    if (counter != 0 || xml->hasAttribute (variationPlaybackIndex.toString()))
        xml->setAttribute (variationPlaybackIndex, counter);

    copyXmlToBinary (*xml, destData);
}

void TessalineAudioProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    const auto xml = ProjectState::parse (data, sizeInBytes);
    if (xml == nullptr || ! xml->getTagName().equalsIgnoreCase (parameters.state.getType().toString())
        || ! ProjectState::hasValidSampleCounts (*xml))
        return;

    const auto restored = juce::ValueTree::fromXml (*xml);
    if (! restored.isValid())
        return;

    const juce::ScopedLock lock (stateLock);

    parameters.replaceState (restored);
    SequencerState::findOrCreate (parameters.state);

    if (parameters.state.hasProperty (variationPlaybackIndex))
    {
        mirroredCounter = (int) parameters.state[variationPlaybackIndex];
        engine.playbackCounter = mirroredCounter;
    }

    restoreMainSample (*xml);

    for (int v = 0; v < Parameters::numVariations; ++v)
        for (int s = 0; s < Parameters::slotsPerVariation; ++s)
            restoreSlot (v, s);

    sequencer.requestStep (0);
}

void TessalineAudioProcessor::restoreMainSample (const juce::XmlElement& xml)
{
    const auto text = xml.getStringAttribute (mainSampleBinary);
    if (text.isEmpty())
        return;

    auto binary = SampleBinary::fromBase64 (text);
    auto audio = SampleBinary::decode (binary.getData(), binary.getSize(),
                                       parameters.state[SlotRecords::mainSampleNumCh],
                                       parameters.state[SlotRecords::mainSampleNumSamples]);
    if (audio == nullptr)
        return;

    samples.main().publish (std::move (audio));
    mainSampleData = std::move (binary);

    // An open editor shows the restored sample; the message thread delivers it (the host may
    // restore on another thread).
    mainSampleRestored = true;
}

void TessalineAudioProcessor::restoreSlot (int variation, int slot)
{
    const auto& state = parameters.state;
    if (! state.hasProperty (SlotRecords::binaryKey (variation, slot)))
        return;

    // A file that is still there and decodes replaces the stored audio and rewrites the records;
    // otherwise the stored audio is used, so the file is decoded once at most.
    const auto path = state[SlotRecords::filePathKey (variation, slot)].toString();
    if (juce::File::isAbsolutePath (path) && takeSlotFromFile (variation, slot, juce::File (path)))
        return;

    const auto binary = SampleBinary::fromBase64 (state[SlotRecords::binaryKey (variation, slot)].toString());
    auto audio = SampleBinary::decode (binary.getData(), binary.getSize(),
                                       state[SlotRecords::numChannelsKey (variation, slot)],
                                       state[SlotRecords::numSamplesKey (variation, slot)]);
    if (audio == nullptr)
        return;

    engine.requestStartOffsetsCleared();
    samples.slot (variation, slot).publish (std::move (audio));
}

juce::MemoryBlock TessalineAudioProcessor::getMainSampleData() const
{
    const juce::ScopedLock lock (stateLock);
    return mainSampleData;
}

//==============================================================================
void TessalineAudioProcessor::loadVariationFile (int variation, int slot, const juce::File& file)
{
    if (juce::isPositiveAndBelow (variation, Parameters::numVariations) && juce::isPositiveAndBelow (slot, Parameters::slotsPerVariation))
        takeSlotFromFile (variation, slot, file);
}

bool TessalineAudioProcessor::takeSlotFromFile (int variation, int slot, const juce::File& file)
{
    auto audio = SampleSlots::decodeFile (file);
    if (audio == nullptr)
        return false;

    const auto binary = SampleBinary::encode (*audio);
    const auto numChannels = audio->getNumChannels();
    const auto numSamples = audio->getNumSamples();

    const juce::ScopedLock lock (stateLock);
    engine.requestStartOffsetsCleared();
    samples.slot (variation, slot).publish (std::move (audio));

    auto& state = parameters.state;
    state.setProperty (SlotRecords::filePathKey (variation, slot), file.getFullPathName(), nullptr);
    state.setProperty (SlotRecords::binaryKey (variation, slot), SampleBinary::toBase64 (binary), nullptr);
    state.setProperty (SlotRecords::numChannelsKey (variation, slot), numChannels, nullptr);
    state.setProperty (SlotRecords::numSamplesKey (variation, slot), numSamples, nullptr);
    return true;
}

void TessalineAudioProcessor::clearVariationFile (int variation, int slot)
{
    if (! juce::isPositiveAndBelow (variation, Parameters::numVariations) || ! juce::isPositiveAndBelow (slot, Parameters::slotsPerVariation))
        return;

    const juce::ScopedLock lock (stateLock);
    samples.slot (variation, slot).publish (std::make_unique<SampleSlots::Sample>());

    auto& state = parameters.state;
    state.removeProperty (SlotRecords::filePathKey (variation, slot), nullptr);
    state.removeProperty (SlotRecords::binaryKey (variation, slot), nullptr);
    state.removeProperty (SlotRecords::numChannelsKey (variation, slot), nullptr);
    state.removeProperty (SlotRecords::numSamplesKey (variation, slot), nullptr);
}

void TessalineAudioProcessor::loadMainSampleFile (const juce::File& file)
{
    if (file.getFullPathName().isEmpty() || ! file.existsAsFile())
        return;

    auto audio = SampleSlots::decodeFile (file);
    const juce::ScopedLock lock (stateLock);

    if (audio != nullptr)
    {
        auto binary = SampleBinary::encode (*audio);
        const auto numChannels = audio->getNumChannels();
        const auto numSamples = audio->getNumSamples();

        samples.main().publish (std::move (audio));
        parameters.state.setProperty (SlotRecords::mainSampleNumCh, numChannels, nullptr);
        parameters.state.setProperty (SlotRecords::mainSampleNumSamples, numSamples, nullptr);
        mainSampleData = std::move (binary);
    }

    parameters.state.setProperty (SlotRecords::mainSampleLoaded, true, nullptr);
}

void TessalineAudioProcessor::rewind()
{
    const juce::ScopedLock lock (stateLock);
    engine.requestRewind();
    sequencer.requestStep (-1);
    engine.playbackCounter = 0;
    mirroredCounter = 0;
    parameters.state.setProperty (variationPlaybackIndex, 0, nullptr);
}

//==============================================================================
void TessalineAudioProcessor::timerCallback()
{
    if (mainSampleRestored.exchange (false))
        if (auto* editor = dynamic_cast<TessalineAudioProcessorEditor*> (getActiveEditor()))
            editor->showMainSample();

    deliverTriggers();
    mirrorPlaybackCounter();
    samples.freeRetired();
}

void TessalineAudioProcessor::deliverTriggers()
{
    // Without an open editor the messages are dropped.
    auto* editor = dynamic_cast<TessalineAudioProcessorEditor*> (getActiveEditor());

    triggers.drain ([editor] (const TriggerMessage& message)
    {
        if (editor != nullptr)
            editor->displayPlayback (message.step, message.variation);
    });
}

void TessalineAudioProcessor::mirrorPlaybackCounter()
{
    // A save or restore running on another thread has the tree: try again at the next tick.
    const juce::ScopedTryLock lock (stateLock);
    const auto counter = engine.playbackCounter.load();
    if (! lock.isLocked() || counter == mirroredCounter)
        return;

    mirroredCounter = counter;
    parameters.state.setProperty (variationPlaybackIndex, counter, nullptr);
}

//==============================================================================
void TessalineAudioProcessor::refreshPattern()
{
    sequencer.readPattern (parameters.state.getChildWithName (SequencerState::type));
}

bool TessalineAudioProcessor::isPartOfPattern (const juce::ValueTree& tree)
{
    return tree.hasType (SequencerState::type) || tree.getParent().hasType (SequencerState::type);
}

void TessalineAudioProcessor::valueTreePropertyChanged (juce::ValueTree& tree, const juce::Identifier&)
{
    if (isPartOfPattern (tree))
        refreshPattern();
}

void TessalineAudioProcessor::childrenChanged (const juce::ValueTree& parent)
{
    // A pattern added, removed or moved at the root, or pads added, removed or moved in it.
    if (parent == parameters.state || isPartOfPattern (parent))
        refreshPattern();
}

void TessalineAudioProcessor::valueTreeChildAdded (juce::ValueTree& parent, juce::ValueTree&) { childrenChanged (parent); }
void TessalineAudioProcessor::valueTreeChildRemoved (juce::ValueTree& parent, juce::ValueTree&, int) { childrenChanged (parent); }
void TessalineAudioProcessor::valueTreeChildOrderChanged (juce::ValueTree& parent, int, int) { childrenChanged (parent); }

void TessalineAudioProcessor::valueTreeRedirected (juce::ValueTree&)
{
    refreshPattern();
}

//==============================================================================
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new TessalineAudioProcessor();
}
