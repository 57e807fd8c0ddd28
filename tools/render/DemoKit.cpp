#include "DemoKit.h"

namespace DemoKit
{
namespace
{
    constexpr double twoPi = juce::MathConstants<double>::twoPi;

    using Sample = juce::AudioBuffer<float>;

    Sample make (double sampleRate, double seconds, const std::function<float (double t, int channel)>& signal)
    {
        Sample audio (2, (int) (seconds * sampleRate));
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < audio.getNumSamples(); ++i)
                audio.setSample (c, i, signal (i / sampleRate, c));
        return audio;
    }

    // Reproducible white noise.
    float noise (juce::Random& random) { return random.nextFloat() * 2.0f - 1.0f; }

    Sample mainSample (double sampleRate)
    {
        // A plucked tone on C1 (32.7 Hz, the note that plays it at its own speed) with a bell above.
        return make (sampleRate, 1.6, [] (double t, int channel)
        {
            const auto f = 32.703 * 4.0; // two octaves up keeps it audible on small speakers
            const auto pluck = std::exp (-3.0 * t) * (std::sin (twoPi * f * t) + 0.5 * std::sin (twoPi * 2.0 * f * t + channel));
            const auto bell = 0.25 * std::exp (-5.0 * t) * std::sin (twoPi * 4.01 * f * t);
            return (float) (0.3 * (pluck + bell) * juce::jmin (1.0, t * 400.0));
        });
    }

    std::vector<Sample> variation (int index, double sampleRate)
    {
        juce::Random random (1000 + index);

        switch (index)
        {
            case 0: // kick: a falling sine
                return { make (sampleRate, 0.4, [] (double t, int)
                         { return (float) (0.9 * std::exp (-9.0 * t) * std::sin (twoPi * (45.0 * t + 1.5 * (1.0 - std::exp (-25.0 * t))))); }) };
            case 1: // snare: tone and noise
                return { make (sampleRate, 0.3, [] (double t, int) { return (float) (0.5 * std::exp (-20.0 * t) * std::sin (twoPi * 190.0 * t)); }),
                         make (sampleRate, 0.3, [&random] (double t, int) { return (float) (0.4 * std::exp (-14.0 * t)) * noise (random); }) };
            case 2: // closed hat
                return { make (sampleRate, 0.08, [&random] (double t, int) { return (float) (0.3 * std::exp (-60.0 * t)) * noise (random); }) };
            case 3: // tom, tuned down
                return { make (sampleRate, 0.5, [] (double t, int) { return (float) (0.7 * std::exp (-7.0 * t) * std::sin (twoPi * 110.0 * t * (1.0 - 0.2 * t))); }) };
            case 4: // clap: three bursts
                return { make (sampleRate, 0.25, [&random] (double t, int)
                         {
                             const auto burst = std::fmod (t, 0.012) < 0.004 && t < 0.036 ? 1.0 : std::exp (-18.0 * (t - 0.036)) * (t > 0.036 ? 1.0 : 0.0);
                             return (float) (0.45 * burst) * noise (random);
                         }) };
            case 5: // rim and cowbell
                return { make (sampleRate, 0.05, [] (double t, int) { return (float) (0.6 * std::exp (-90.0 * t) * std::sin (twoPi * 1700.0 * t)); }),
                         make (sampleRate, 0.4, [] (double t, int)
                         { return (float) (0.25 * std::exp (-8.0 * t) * (std::sin (twoPi * 540.0 * t) + std::sin (twoPi * 800.0 * t))); }) };
            case 6: // shaker, wide
                return { make (sampleRate, 0.15, [&random] (double t, int) { return (float) (0.25 * std::sin (juce::MathConstants<double>::pi * t / 0.15)) * noise (random); }) };
            default: // low chord stab, three slots
                return { make (sampleRate, 0.6, [] (double t, int) { return (float) (0.2 * std::exp (-4.0 * t) * std::sin (twoPi * 130.81 * t)); }),
                         make (sampleRate, 0.6, [] (double t, int) { return (float) (0.2 * std::exp (-4.0 * t) * std::sin (twoPi * 155.56 * t)); }),
                         make (sampleRate, 0.6, [] (double t, int) { return (float) (0.2 * std::exp (-4.0 * t) * std::sin (twoPi * 196.0 * t)); }) };
        }
    }
}

void addTo (KitState& state, double sampleRate)
{
    state.setMainSample (mainSample (sampleRate));

    for (int v = 0; v < 8; ++v)
    {
        const auto slots = variation (v, sampleRate);
        for (size_t s = 0; s < slots.size(); ++s)
            state.setSlot (v, (int) s, slots[s], "demo/variation" + juce::String (v + 1) + "-" + juce::String ((int) s + 1) + ".wav");
    }
}

std::vector<std::pair<juce::String, float>> parameterSettings()
{
    return {
        { "mix", 60.0f },
        { "sound_1_space_mix", 25.0f },        // snare in a room
        { "sound_2_echo_attribute", 375.0f },  // hat echoing on the dotted eighth
        { "sound_2_echo_mix", 35.0f },
        { "sound_3_pitch_attribute", -5.0f },  // tom a fourth down
        { "sound_3_pitch_mix", 100.0f },
        { "sound_4_space_mix", 40.0f },
        { "sound_6_chorus_mix", 50.0f },
        { "sound_7_warmth_mix", 60.0f },
        { "sound_7_space_mix", 30.0f },
    };
}

Phrase phrase()
{
    // Sixteen eighth notes at 120 beats per minute: the default pattern plays variations 2 to 8,
    // then 1, twice, under a bass line on the main sample.
    const int line[] { 24, 24, 31, 24, 27, 24, 29, 31, 24, 24, 31, 34, 36, 34, 31, 27 };
    Phrase result;
    for (int i = 0; i < 16; ++i)
        result.notes.push_back ({ line[i], i * 0.25, 0.25 });
    return result;
}
}
