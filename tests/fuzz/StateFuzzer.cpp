// libFuzzer target: arbitrary bytes as a saved state. A restore must never crash, read or write
// out of bounds or leak, whatever it is given; the instance then plays a note and saves again.

#include "processor/PluginProcessor.h"

namespace
{
    TessalineAudioProcessor* processor = nullptr;
}

extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    // Both live until the process ends: libFuzzer leaves through exit(), and JUCE must not be
    // shut down by static destructors running in an order of the linker's choosing.
    juce::initialiseJuce_GUI();
    processor = new TessalineAudioProcessor();
    processor->setRateAndBufferSizeDetails (48000.0, 256);
    processor->prepareToPlay (48000.0, 256);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    if (size > (size_t) std::numeric_limits<int>::max())
        return 0;

    processor->setStateInformation (data, (int) size);

    juce::AudioBuffer<float> buffer (2, 256);
    juce::MidiBuffer midi;
    midi.addEvent (juce::MidiMessage::noteOn (1, 36, (juce::uint8) 100), 17);
    processor->processBlock (buffer, midi);

    juce::MemoryBlock saved;
    processor->getStateInformation (saved);
    return 0;
}
