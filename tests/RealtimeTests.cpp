#include "TestSupport.h"

#include <atomic>
#include <cstdlib>
#include <new>

// Counts every allocation and release made while `armed` is set, on any thread.
namespace
{
    std::atomic<bool> armed { false };
    std::atomic<int> allocations { 0 };
    std::atomic<int> releases { 0 };

    void* allocate (std::size_t size)
    {
        if (armed)
            ++allocations;
        if (auto* p = std::malloc (size == 0 ? 1 : size))
            return p;
        throw std::bad_alloc();
    }

    void release (void* p) noexcept
    {
        if (armed && p != nullptr)
            ++releases;
        std::free (p);
    }
}

void* operator new (std::size_t size) { return allocate (size); }
void* operator new[] (std::size_t size) { return allocate (size); }
void* operator new (std::size_t size, const std::nothrow_t&) noexcept
{
    try { return allocate (size); } catch (...) { return nullptr; }
}
void* operator new[] (std::size_t size, const std::nothrow_t&) noexcept
{
    try { return allocate (size); } catch (...) { return nullptr; }
}
void operator delete (void* p) noexcept { release (p); }
void operator delete[] (void* p) noexcept { release (p); }
void operator delete (void* p, std::size_t) noexcept { release (p); }
void operator delete[] (void* p, std::size_t) noexcept { release (p); }

using namespace TestSupport;

namespace
{
    struct Counted
    {
        int allocations, releases;
    };

    Counted processArmed (TessalineAudioProcessor& processor, juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi)
    {
        allocations = 0;
        releases = 0;
        armed = true;
        processor.processBlock (buffer, midi);
        armed = false;
        return { allocations.load(), releases.load() };
    }
}

TEST (Realtime, CountingCatchesAnAllocation)
{
    allocations = 0;
    armed = true;
    auto* probe = new int (3);
    armed = false;
    delete probe;
    EXPECT_EQ (allocations.load(), 1);
}

TEST (Realtime, ProcessBlockNeitherAllocatesNorFreesWhileEverythingPlays)
{
    PreparedProcessor p;
    p.processor.loadMainSampleFile (p.files.writeAudio ("main.wav", ramp (2, 20000)));
    for (int v = 0; v < 8; ++v)
        for (int s = 0; s < 3; ++s)
            p.processor.loadVariationFile (v, s, p.files.writeAudio ("slot.wav", ramp (2, 3000 + 500 * s)));

    auto pattern = p.processor.parameters.state.getChildWithName ("SequencerState");
    for (int row = 0; row < 4; ++row)
        pattern.setProperty ("rowEnabled" + juce::String (row), true, nullptr);

    // The MIDI buffers are built before counting starts.
    std::vector<juce::MidiBuffer> blocks (64);
    for (size_t b = 0; b < blocks.size(); ++b)
        for (int n = 0; n < 6; ++n)
        {
            blocks[b].addEvent (juce::MidiMessage::noteOn (1, 20 + (int) (b + (size_t) n) % 60, (juce::uint8) 100), n * 80);
            blocks[b].addEvent (juce::MidiMessage::noteOff (1, 20 + (int) b % 60), 500);
            blocks[b].addEvent (juce::MidiMessage::controllerEvent (1, 1, n), n);
        }

    juce::AudioBuffer<float> buffer (2, blockSize);
    juce::AudioBuffer<float> large (2, blockSize * 3);
    int totalAllocations = 0, totalReleases = 0;

    for (size_t b = 0; b < blocks.size(); ++b)
    {
        // New buffers handed over between blocks are taken up without allocating either.
        if (b % 16 == 8)
            p.processor.loadVariationFile ((int) b % 8, 1, p.files.writeAudio ("late.wav", ramp (1, 1000)));
        if (b == 40)
            p.processor.clearVariationFile (2, 2);
        if (b == 50)
            p.processor.rewind();

        const auto counted = processArmed (p.processor, b % 10 == 9 ? large : buffer, blocks[b]);
        totalAllocations += counted.allocations;
        totalReleases += counted.releases;
    }

    EXPECT_EQ (totalAllocations, 0);
    EXPECT_EQ (totalReleases, 0);
    EXPECT_EQ (p.processor.engine.playbackCounter.load(), 6 * (64 - 50)); // counted again from the rewind
    EXPECT_GT (buffer.getMagnitude (0, blockSize), 0.0f);
}

TEST (Realtime, EffectsAtWorkNeitherAllocateNorFree)
{
    PreparedProcessor p;
    for (int v = 0; v < 8; ++v)
    {
        p.processor.loadVariationFile (v, 0, p.files.writeAudio ("slot.wav", ramp (2, 30000, 0.00002f)));

        const auto sound = "sound_" + juce::String (v) + "_";
        p.setParameter (sound + "pitch_attribute", 7.0f);
        for (const auto* effect : { "pitch", "echo", "space", "chorus", "warmth" })
            p.setParameter (sound + effect + "_mix", 40.0f);
    }

    auto pattern = p.processor.parameters.state.getChildWithName ("SequencerState");
    for (int row = 0; row < 4; ++row)
        pattern.setProperty ("rowEnabled" + juce::String (row), true, nullptr);

    // The first notes reach every rack, which builds its shifter for the new pitch.
    juce::AudioBuffer<float> buffer (2, blockSize);
    for (int b = 0; b < 8; ++b)
    {
        auto midi = notesAt ({ { 48, 0 } });
        p.processor.processBlock (buffer, midi);
    }

    std::vector<juce::MidiBuffer> blocks (48);
    for (size_t b = 0; b < blocks.size(); b += 3)
        blocks[b].addEvent (juce::MidiMessage::noteOn (1, 40 + (int) b, (juce::uint8) 100), (int) b * 7);

    int totalAllocations = 0, totalReleases = 0;
    for (auto& midi : blocks)
    {
        const auto counted = processArmed (p.processor, buffer, midi);
        totalAllocations += counted.allocations;
        totalReleases += counted.releases;
    }

    EXPECT_EQ (totalAllocations, 0);
    EXPECT_EQ (totalReleases, 0);
    for (int v = 0; v < 8; ++v)
        EXPECT_TRUE (p.processor.engine.isVariationActive (v));
    EXPECT_GT (buffer.getMagnitude (0, blockSize), 0.0f);
}
