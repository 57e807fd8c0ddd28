#pragma once

#include <juce_graphics/juce_graphics.h>
#include <juce_audio_basics/juce_audio_basics.h>

// An overview of rendered audio: one lane per channel, the peaks of each column drawn as a line.
namespace WaveformPicture
{
    juce::Image draw (const juce::AudioBuffer<float>& audio, double sampleRate, int width = 1200, int laneHeight = 180);
}
