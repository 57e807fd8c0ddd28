#pragma once

#include "processor/Parameters.h"
#include "processor/PlaybackEngine.h"
#include "processor/SampleSlots.h"
#include "processor/StepCursor.h"
#include "processor/TriggerQueue.h"

#include <juce_audio_processors/juce_audio_processors.h>

class TessalineAudioProcessor : public juce::AudioProcessor,
                                private juce::ValueTree::Listener,
                                private juce::Timer
{
public:
    TessalineAudioProcessor();
    ~TessalineAudioProcessor() override;

    //==============================================================================
    bool isBusesLayoutSupported (const BusesLayout& layouts) const override;
    void prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock) override;
    void releaseResources() override {}
    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;
    using AudioProcessor::processBlock;

    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override { return true; }

    const juce::String getName() const override { return JucePlugin_Name; }
    bool acceptsMidi() const override { return true; }
    bool producesMidi() const override { return false; }
    bool isMidiEffect() const override { return false; }
    double getTailLengthSeconds() const override { return 0.0; }

    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram (int) override {}
    const juce::String getProgramName (int) override { return {}; }
    void changeProgramName (int, const juce::String&) override {}

    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;

    //==============================================================================
    // Sample intake, on the message thread. Files that are missing or cannot be decoded change
    // nothing (but an existing main-sample file that cannot be decoded still counts as loaded).
    void loadVariationFile (int variation, int slot, const juce::File& file);
    void clearVariationFile (int variation, int slot);
    void loadMainSampleFile (const juce::File& file);

    // Sends playback back to the start: every slot stops, the main voice is released at the end of
    // the next block, the trigger count restarts from 0 and the next note plays the first enabled step.
    void rewind();

    // The main sample's audio in its stored form, empty before a main sample was loaded.
    juce::MemoryBlock getMainSampleData() const;

    static inline const juce::Identifier variationPlaybackIndex { "variationPlaybackIndex" };
    static inline const juce::Identifier mainSampleBinary { "mainSampleBinary" };

    juce::AudioProcessorValueTreeState parameters;
    SampleSlots samples;
    StepCursor sequencer;

private:
    TriggerQueue triggers;

public:
    PlaybackEngine engine;

private:
    bool takeSlotFromFile (int variation, int slot, const juce::File& file);
    void restoreMainSample (const juce::XmlElement& xml);
    void restoreSlot (int variation, int slot);

    void refreshPattern();
    void deliverTriggers();
    void mirrorPlaybackCounter();

    void timerCallback() override;

    void valueTreePropertyChanged (juce::ValueTree& tree, const juce::Identifier& property) override;
    void valueTreeChildAdded (juce::ValueTree& parent, juce::ValueTree& child) override;
    void valueTreeChildRemoved (juce::ValueTree& parent, juce::ValueTree& child, int index) override;
    void valueTreeChildOrderChanged (juce::ValueTree& parent, int oldIndex, int newIndex) override;
    void valueTreeRedirected (juce::ValueTree& tree) override;

    static bool isPartOfPattern (const juce::ValueTree& tree);
    void childrenChanged (const juce::ValueTree& parent);

    // Serialises the writers of the state tree's sample records and of mainSampleData: the message
    // thread and a host saving or restoring on another thread. Never taken by the audio thread.
    juce::CriticalSection stateLock;
    juce::MemoryBlock mainSampleData;
    std::atomic<bool> mainSampleRestored { false };
    int mirroredCounter = 0; // the trigger count last written to the state tree

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TessalineAudioProcessor)
};
