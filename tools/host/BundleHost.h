#pragma once

#include <juce_audio_formats/juce_audio_formats.h>
#include <juce_audio_processors/juce_audio_processors.h>

// Loading a VST3 bundle through JUCE's VST3 hosting, the way a DAW does.
namespace BundleHost
{
    // The installed bundle, ~/.vst3/Tessaline.vst3.
    juce::File installedBundle();

    // Creates an instance of the bundle's plug-in, prepared for stereo output at the given rate and
    // block size. On failure returns null and describes the problem in `error`.
    std::unique_ptr<juce::AudioPluginInstance> load (const juce::File& bundle, double sampleRate, int blockSize,
                                                     juce::String& error);

    // The plug-in's own saved-state blob (what its getStateInformation writes), taken out of and
    // put into the VST3 host's wrapping of the component state.
    juce::MemoryBlock getProcessorState (juce::AudioPluginInstance& plugin);
    void setProcessorState (juce::AudioPluginInstance& plugin, const juce::MemoryBlock& processorState);

    // The hosted parameter that the plug-in publishes under a string ID, or null.
    juce::AudioProcessorParameter* findParameter (juce::AudioPluginInstance& plugin, const juce::String& id);

    // Renders `numSamples` samples, block by block, with each MIDI event of `midi` in its block.
    juce::AudioBuffer<float> render (juce::AudioPluginInstance& plugin, const juce::MidiBuffer& midi,
                                     int numSamples, int blockSize);
}
