#include "WaveformPicture.h"

namespace WaveformPicture
{
juce::Image draw (const juce::AudioBuffer<float>& audio, double sampleRate, int width, int laneHeight)
{
    const auto numChannels = juce::jmax (1, audio.getNumChannels());
    const auto numSamples = audio.getNumSamples();
    juce::Image image (juce::Image::RGB, width, laneHeight * numChannels, true);
    juce::Graphics g (image);
    g.fillAll (juce::Colour (0xff1b0c24));

    // One second ticks along the top.
    g.setColour (juce::Colour (0xff4a3158));
    for (double second = 1.0; numSamples > 0 && second * sampleRate < numSamples; second += 1.0)
        g.drawVerticalLine ((int) (second * sampleRate * width / numSamples), 0.0f, (float) image.getHeight());

    for (int c = 0; c < audio.getNumChannels(); ++c)
    {
        const auto centre = (float) laneHeight * ((float) c + 0.5f);
        const auto half = (float) laneHeight * 0.45f;

        g.setColour (juce::Colour (0xff3a104a));
        g.drawHorizontalLine ((int) centre, 0.0f, (float) width);
        g.setColour (juce::Colour (0xffd9b8f0));

        for (int x = 0; x < width; ++x)
        {
            const auto start = (int) ((juce::int64) x * numSamples / width);
            const auto end = juce::jmax (start + 1, (int) ((juce::int64) (x + 1) * numSamples / width));
            if (start >= numSamples)
                break;

            const auto range = audio.findMinMax (c, start, juce::jmin (end, numSamples) - start);
            const auto top = centre - juce::jlimit (-1.0f, 1.0f, range.getEnd()) * half;
            const auto bottom = centre - juce::jlimit (-1.0f, 1.0f, range.getStart()) * half;
            g.drawVerticalLine (x, top, juce::jmax (bottom, top + 1.0f));
        }
    }

    return image;
}
}
