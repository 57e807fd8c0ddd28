#include "processor/PluginProcessor.h"

#include "editor/PluginEditor.h"
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

void TessalineAudioProcessor::prepareToPlay (double, int maximumExpectedSamplesPerBlock)
{
    engine.prepare (getTotalNumOutputChannels(), maximumExpectedSamplesPerBlock, 0);
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
void TessalineAudioProcessor::getStateInformation (juce::MemoryBlock&)
{
    // Saving the project state is issue #4.
}

void TessalineAudioProcessor::setStateInformation (const void*, int)
{
    // Restoring the project state is issue #4.
}

//==============================================================================
void TessalineAudioProcessor::loadVariationFile (int variation, int slot, const juce::File& file)
{
    if (! juce::isPositiveAndBelow (variation, Parameters::numVariations) || ! juce::isPositiveAndBelow (slot, Parameters::slotsPerVariation))
        return;

    auto audio = SampleSlots::decodeFile (file);
    if (audio == nullptr)
        return;

    const auto binary = SampleBinary::encode (*audio);
    const auto numChannels = audio->getNumChannels();
    const auto numSamples = audio->getNumSamples();

    engine.requestStartOffsetsCleared();
    samples.slot (variation, slot).publish (std::move (audio));

    auto& state = parameters.state;
    state.setProperty (SlotRecords::filePathKey (variation, slot), file.getFullPathName(), nullptr);
    state.setProperty (SlotRecords::binaryKey (variation, slot), SampleBinary::toBase64 (binary), nullptr);
    state.setProperty (SlotRecords::numChannelsKey (variation, slot), numChannels, nullptr);
    state.setProperty (SlotRecords::numSamplesKey (variation, slot), numSamples, nullptr);
}

void TessalineAudioProcessor::clearVariationFile (int variation, int slot)
{
    if (! juce::isPositiveAndBelow (variation, Parameters::numVariations) || ! juce::isPositiveAndBelow (slot, Parameters::slotsPerVariation))
        return;

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

    if (auto audio = SampleSlots::decodeFile (file))
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
    engine.requestRewind();
    sequencer.requestStep (-1);
    engine.playbackCounter = 0;
    mirroredCounter = 0;
    parameters.state.setProperty (variationPlaybackIndex, 0, nullptr);
}

//==============================================================================
void TessalineAudioProcessor::timerCallback()
{
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
    const auto counter = engine.playbackCounter.load();
    if (counter == mirroredCounter)
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

void TessalineAudioProcessor::valueTreeChildAdded (juce::ValueTree& parent, juce::ValueTree&)
{
    if (parent == parameters.state || isPartOfPattern (parent))
        refreshPattern();
}

void TessalineAudioProcessor::valueTreeChildRemoved (juce::ValueTree& parent, juce::ValueTree&, int)
{
    if (parent == parameters.state || isPartOfPattern (parent))
        refreshPattern();
}

void TessalineAudioProcessor::valueTreeChildOrderChanged (juce::ValueTree& parent, int, int)
{
    if (parent == parameters.state || isPartOfPattern (parent))
        refreshPattern();
}

void TessalineAudioProcessor::valueTreeRedirected (juce::ValueTree&)
{
    refreshPattern();
}

//==============================================================================
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new TessalineAudioProcessor();
}
