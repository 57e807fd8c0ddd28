#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <optional>

// A Tessaline saved state as XML, into which samples are put the way the plug-in stores them:
// the audio itself, with its channel and frame counts, so that no file is needed to play it.
class KitState
{
public:
    // Reads the plug-in's state blob; returns nothing (and says why) for anything else.
    static std::optional<KitState> fromBlob (const juce::MemoryBlock& blob, juce::String& error);

    void setMainSample (const juce::AudioBuffer<float>& audio);

    // Variation and slot counted from 0. The plug-in reloads the slot from `path` when that file
    // exists; otherwise the stored audio plays.
    void setSlot (int variation, int slot, const juce::AudioBuffer<float>& audio, const juce::String& path);

    juce::MemoryBlock toBlob() const;

private:
    explicit KitState (std::unique_ptr<juce::XmlElement> root);

    std::shared_ptr<juce::XmlElement> xml;
};
