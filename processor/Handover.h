#pragma once

#include <juce_core/juce_core.h>

#include <atomic>
#include <memory>

// Hands objects built on other threads to the audio thread without locks, allocation or freeing
// on the audio thread.
//
// Producers (the message thread, or a host thread restoring a state) publish a new object. The
// audio thread picks it up at the start of a block with `acquire` and keeps using it until the next
// one arrives. The object it gives up goes to a one-place "retired" box, which the producers empty
// and free: the audio thread only swaps when that box is empty, so it never has to free anything.
template <typename Object>
class Handover
{
public:
    Handover() = default;

    ~Handover()
    {
        delete live;
        delete pending.load();
        delete retired.load();
    }

    //==============================================================================
    // Producer side.

    void publish (std::unique_ptr<Object> object)
    {
        const juce::ScopedLock lock (producerLock);
        freeRetiredLocked();
        newest = object.get();
        // An object still pending was never seen by the audio thread and can go at once.
        delete pending.exchange (object.release());
    }

    // The object most recently published (or null before the first one).
    const Object* latest() const
    {
        const juce::ScopedLock lock (producerLock);
        return newest;
    }

    void freeRetired()
    {
        const juce::ScopedLock lock (producerLock);
        freeRetiredLocked();
    }

    //==============================================================================
    // Audio thread.

    // Takes up a newly published object; returns true when the current object changed.
    bool acquire() noexcept
    {
        if (retired.load (std::memory_order_acquire) != nullptr)
            return false;

        auto* next = pending.exchange (nullptr, std::memory_order_acq_rel);
        if (next == nullptr)
            return false;

        retired.store (live, std::memory_order_release);
        live = next;
        return true;
    }

    // The audio thread's current object, or null before the first one arrived.
    const Object* current() const noexcept { return live; }

private:
    void freeRetiredLocked() { delete retired.exchange (nullptr, std::memory_order_acq_rel); }

    juce::CriticalSection producerLock; // never taken by the audio thread
    const Object* newest = nullptr;

    std::atomic<Object*> pending { nullptr };
    std::atomic<Object*> retired { nullptr };
    Object* live = nullptr;

    JUCE_DECLARE_NON_COPYABLE (Handover)
};
