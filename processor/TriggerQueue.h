#pragma once

#include <juce_core/juce_core.h>

#include <array>

// What a note-on triggered: the step it played and the zero-based variation (-1 when the step
// named none).
struct TriggerMessage
{
    int step = -1;
    int variation = -1;
};

// A fixed-size single-producer, single-consumer queue carrying trigger messages from the audio
// thread to the message thread in order. When the reader falls behind, new messages are dropped.
class TriggerQueue
{
public:
    // Audio thread.
    void push (TriggerMessage message) noexcept
    {
        const auto write = fifo.write (1);
        if (write.blockSize1 > 0)
            messages[(size_t) write.startIndex1] = message;
    }

    // Message thread: calls `handle` for every waiting message, oldest first.
    template <typename Handler>
    void drain (Handler&& handle)
    {
        const auto read = fifo.read (fifo.getNumReady());
        read.forEach ([this, &handle] (int index) { handle (messages[(size_t) index]); });
    }

private:
    static constexpr int capacity = 1024;
    juce::AbstractFifo fifo { capacity };
    std::array<TriggerMessage, capacity> messages;
};
