#pragma once

#include "processor/PluginProcessor.h"

class TessalineAudioProcessorEditor;

#include <gtest/gtest.h>

#include <functional>
#include <thread>

namespace TestSupport
{
    constexpr double sampleRate = 48000.0;
    constexpr int blockSize = 512;

    // A folder of its own for each test, removed afterwards.
    class TemporaryFolder
    {
    public:
        TemporaryFolder();
        ~TemporaryFolder();

        const juce::File& get() const noexcept { return folder; }

        // Writes `audio` as a 32-bit float WAV file (or a FLAC/AIFF file, by extension).
        juce::File writeAudio (const juce::String& name, const juce::AudioBuffer<float>& audio,
                               double fileSampleRate = sampleRate) const;
        juce::File writeText (const juce::String& name, const juce::String& text) const;

    private:
        juce::File folder;
    };

    // numChannels x numSamples, every sample of channel c equal to values[c].
    juce::AudioBuffer<float> constant (std::initializer_list<float> values, int numSamples);

    // numChannels x numSamples, sample i of channel c = (i + 1) * step * (c + 1).
    juce::AudioBuffer<float> ramp (int numChannels, int numSamples, float step = 0.0001f);

    juce::MidiBuffer notesAt (std::initializer_list<std::pair<int, int>> notesAndPositions);

    // Runs the message loop for a while so that timers and posted messages are handled.
    void pumpMessages (int milliseconds = 50);

    // Plays a note into every block on a thread of its own, as a host's audio thread would, and
    // counts the samples of channel 0 that `isExpected` refuses. Stops when destroyed.
    class AudioThread
    {
    public:
        AudioThread (TessalineAudioProcessor& processor, std::function<bool (float)> isExpected);
        ~AudioThread();

        void stop();
        int getBlocks() const noexcept { return blocks; }
        int getUnexpectedSamples() const noexcept { return unexpected; }

    private:
        std::atomic<bool> running { true };
        std::atomic<int> blocks { 0 }, unexpected { 0 };
        std::thread thread;
    };

    // The component drawn on its own into an image of its size (transparent where it draws nothing).
    juce::Image snapshot (juce::Component& component);

    // The processor's editor, opened and closed the way a host does it.
    class HostedEditor
    {
    public:
        explicit HostedEditor (TessalineAudioProcessor& processor);
        ~HostedEditor();

        void open();
        void close();
        TessalineAudioProcessorEditor* get() const noexcept { return editor; }

    private:
        TessalineAudioProcessor& processor;
        TessalineAudioProcessorEditor* editor = nullptr;
    };

    // A processor prepared for stereo output at 48 kHz with 512-sample blocks.
    struct PreparedProcessor
    {
        PreparedProcessor (int numChannels = 2);

        // Renders one block of `numSamples` with the given MIDI.
        juce::AudioBuffer<float> process (const juce::MidiBuffer& midi = {}, int numSamples = blockSize);

        // Renders `numBlocks` blocks and returns them joined.
        juce::AudioBuffer<float> processBlocks (int numBlocks, const juce::MidiBuffer& firstBlockMidi = {});

        void setParameter (const juce::String& id, float rawValue);

        TessalineAudioProcessor processor;
        TemporaryFolder files;
    };
}
