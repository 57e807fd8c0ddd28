#pragma once

#include "KitState.h"
#include "Phrase.h"

// A kit made from nothing but arithmetic, so that the renderer can be heard without any sample
// files: a plucked bass-and-bell main sample, eight percussive variations and a phrase that walks
// through all of them twice, with some effects switched in.
namespace DemoKit
{
    void addTo (KitState& state, double sampleRate);

    // Parameter settings in real units, applied after the kit is loaded.
    std::vector<std::pair<juce::String, float>> parameterSettings();

    Phrase phrase();
}
