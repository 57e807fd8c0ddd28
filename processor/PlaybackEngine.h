#pragma once

#include "effects/EffectRack.h"
#include "processor/Parameters.h"
#include "processor/SampleSlots.h"
#include "processor/StepCursor.h"
#include "processor/TriggerQueue.h"

#include <juce_audio_processors/juce_audio_processors.h>

// Turns MIDI into sound, one block at a time: each note-on restarts the main sample transposed by
// the note and starts the variation that the next sequencer step names; the main sample forms the
// dry path, the summed variations the wet path, added at the mix percentage.
//
// Everything below `process` runs on the audio thread without locks or allocation. Other threads
// reach it only through atomics: requests that the next block takes up, and the trigger queue.
class PlaybackEngine
{
public:
    PlaybackEngine (juce::AudioProcessorValueTreeState& parameters, SampleSlots& samples,
                    StepCursor& cursor, TriggerQueue& triggers);

    // Prepares the effect racks and sizes every buffer for blocks of up to maximumBlockSize
    // samples; stops all variations. The host never calls it while `process` runs.
    void prepare (double sampleRate, int numChannels, int maximumBlockSize);

    // Audio thread. Larger blocks than prepared for are rendered in prepared-size pieces.
    void process (juce::AudioBuffer<float>& buffer, const juce::MidiBuffer& midi) noexcept;

    //==============================================================================
    // Requests from other threads, taken up at the start of the next block.

    // Stops every slot and releases the main voice; forgets the last trigger.
    void requestRewind() noexcept { rewindRequested = true; }

    // A slot was loaded: pending start offsets of every slot are dropped.
    void requestStartOffsetsCleared() noexcept { startOffsetsClearRequested = true; }

    //==============================================================================
    // Written by the audio thread, readable from any thread.
    std::atomic<int> playbackCounter { 0 };
    std::atomic<int> lastNote { -1 }, lastStep { -1 }, lastVariation { -1 };

    //==============================================================================
    // Audio-thread state, readable between blocks.
    struct MainVoice
    {
        double position = 0.0;
        double rate = 1.0;          // source samples per output sample
        bool playing = false;
        bool releaseRequested = false;
        int startOffset = 0;        // output samples to wait before the voice starts
    };

    const MainVoice& getMainVoice() const noexcept { return mainVoice; }
    bool isVariationActive (int variation) const noexcept { return variationActive[(size_t) variation]; }
    int getSlotReadPosition (int variation, int slot) const noexcept { return slotReadPositions[(size_t) variation][(size_t) slot]; }
    int getLatencySamples() const noexcept { return latencySamples; }
    const juce::AudioBuffer<float>& getDryDelayLine() const noexcept { return dryDelayLine; }

    // One rack per sound; rack n processes variation n.
    std::array<EffectRack, Parameters::numSounds> racks;

private:
    struct Gains
    {
        float input, output, mix;
    };

    void takeUpRequests() noexcept;
    void handleMidi (const juce::MidiBuffer& midi, int pieceStart, int pieceEnd) noexcept;
    void trigger (int note, int startOffset) noexcept;
    void renderPiece (juce::AudioBuffer<float>& output, int numChannels, const Gains& gains) noexcept;
    void renderMainVoice (int numSamples) noexcept;
    void applyEffectsSwitch() noexcept;
    void renderVariations (int numChannels, int numSamples) noexcept;
    void renderSlots (int variation, juce::AudioBuffer<float>& work) noexcept;
    void addDelayedDry (juce::AudioBuffer<float>& output, int numChannels) noexcept;

    template <typename Grid>
    static void fill (Grid& grid, int value) noexcept
    {
        for (auto& row : grid)
            row.fill (value);
    }

    using SlotGrid = std::array<std::array<int, Parameters::slotsPerVariation>, Parameters::numVariations>;

    SampleSlots& samples;
    StepCursor& cursor;
    TriggerQueue& triggers;

    // Raw parameter values, looked up once.
    std::atomic<float>* inputDb;
    std::atomic<float>* mixPercent;
    std::atomic<float>* outputDb;
    std::atomic<float>* effectsOn;
    std::vector<EffectRack::SoundParameters> soundParameters;
    std::array<std::array<std::atomic<float>*, Parameters::slotsPerVariation>, Parameters::numVariations> slotVolumeDb;

    // Requests from other threads.
    std::atomic<bool> rewindRequested { false };
    std::atomic<bool> startOffsetsClearRequested { false };

    // Audio thread.
    MainVoice mainVoice;
    SlotGrid slotReadPositions;    // -1: idle
    SlotGrid slotStartOffsets;
    std::array<bool, Parameters::numVariations> variationActive {};
    std::array<int, Parameters::numVariations> silentSamples {}; // since the slots ended
    bool previousEffectsOn = true;
    bool racksOn = true;

    juce::AudioBuffer<float> mainVoiceBus, variationWorkBuffer, wetSum, dryDelayLine;
    int dryDelayWritePos = 0;
    int latencySamples = 0;
    int preparedChannels = 0;
    int preparedBlockSize = 0;
};
