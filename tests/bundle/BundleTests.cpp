// Loads the built VST3 bundle through JUCE's VST3 hosting and checks what a host sees.

#include "BundleHost.h"

#include <gtest/gtest.h>

namespace
{
    constexpr double sampleRate = 48000.0;
    constexpr int blockSize = 512;

    juce::File builtBundle()
    {
        return juce::File (TESSALINE_BUILT_BUNDLE);
    }

    // A saved state written by hand, as the plug-in stores it: a main sample of `frames` mono
    // frames, each sample a little-endian float, as Base64.
    juce::MemoryBlock stateWithMainSample (const std::vector<float>& frames)
    {
        juce::MemoryOutputStream binary;
        for (const auto sample : frames)
            binary.writeFloat (sample);

        juce::XmlElement root ("Parameters");
        root.setAttribute ("mainSampleNumCh", 1);
        root.setAttribute ("mainSampleNumSamples", (int) frames.size());
        root.setAttribute ("mainSampleLoaded", 1);
        root.setAttribute ("mainSampleBinary", juce::Base64::toBase64 (binary.getData(), binary.getDataSize()));

        juce::MemoryBlock blob;
        juce::AudioProcessor::copyXmlToBinary (root, blob);
        return blob;
    }

    // A saved state in which every step plays variation 1, whose first slot holds a 100-frame
    // stereo burst at 0.5, and sound 0's echo is fully wet at `echoMs`.
    juce::MemoryBlock stateWithEchoingBurst (int echoMs)
    {
        juce::MemoryOutputStream binary;
        for (int i = 0; i < 2 * 100; ++i)
            binary.writeFloat (0.5f);

        juce::XmlElement root ("Parameters");
        root.setAttribute ("variation0slot0FilePath", "/nonexistent/burst.wav");
        root.setAttribute ("variation0_slot0_binary", juce::Base64::toBase64 (binary.getData(), binary.getDataSize()));
        root.setAttribute ("variation0_slot0_numCh", 2);
        root.setAttribute ("variation0_slot0_numSm", 100);

        for (const auto& [id, value] : { std::pair { "mix", 100 }, std::pair { "sound_0_echo_mix", 100 }, std::pair { "sound_0_echo_attribute", echoMs } })
        {
            auto* parameter = root.createNewChildElement ("PARAM");
            parameter->setAttribute ("id", id);
            parameter->setAttribute ("value", value);
        }

        auto* pattern = root.createNewChildElement ("SequencerState");
        pattern->setAttribute ("rowEnabled0", 1);
        for (int step = 0; step < 32; ++step)
        {
            auto* pad = pattern->createNewChildElement ("Pad");
            pad->setAttribute ("index", step);
            pad->setAttribute ("value", 1);
        }

        juce::MemoryBlock blob;
        juce::AudioProcessor::copyXmlToBinary (root, blob);
        return blob;
    }

    class Bundle : public testing::Test
    {
    protected:
        void SetUp() override
        {
            juce::String error;
            plugin = BundleHost::load (builtBundle(), sampleRate, blockSize, error);
            ASSERT_NE (plugin, nullptr) << error;
        }

        std::unique_ptr<juce::AudioPluginInstance> plugin;
    };
}

TEST_F (Bundle, IdentifiesItselfAsACorvaneInstrument)
{
    const auto description = plugin->getPluginDescription();
    EXPECT_EQ (description.name, "Tessaline");
    EXPECT_EQ (description.manufacturerName, "Corvane");
    EXPECT_EQ (description.pluginFormatName, "VST3");
    EXPECT_TRUE (description.isInstrument);
    EXPECT_EQ (description.category, "Instrument|Synth");

    EXPECT_TRUE (plugin->acceptsMidi());
    EXPECT_FALSE (plugin->producesMidi());
    EXPECT_EQ (plugin->getLatencySamples(), 0);
    EXPECT_EQ (plugin->getTailLengthSeconds(), 0.0);
    EXPECT_EQ (plugin->getBusCount (true), 0);
    ASSERT_EQ (plugin->getBusCount (false), 1);
    EXPECT_EQ (plugin->getBus (false, 0)->getName(), "Output");
    EXPECT_EQ (plugin->getBus (false, 0)->getNumberOfChannels(), 2);
}

TEST_F (Bundle, PublishesTheParametersAndOnlyTheWrappersBypassBeyondThem)
{
    const auto& parameters = plugin->getParameters();
    ASSERT_EQ (parameters.size(), 111);

    const std::pair<int, const char*> named[] {
        { 0, "Effects On" }, { 3, "Input" }, { 4, "Mix" }, { 5, "Output" },
        { 6, "Variation 1 Slot 1 Volume" }, { 29, "Variation 8 Slot 3 Volume" },
        { 30, "Sound 1 Pitch Range" }, { 32, "Sound 1 Echo Time" }, { 109, "Sound 8 Warmth Mix" },
    };
    for (const auto& [index, name] : named)
        EXPECT_EQ (parameters[index]->getName (100), name) << index;

    for (int i = 0; i < 110; ++i)
        EXPECT_TRUE (parameters[i]->isAutomatable()) << i;

    EXPECT_EQ (parameters[110], plugin->getBypassParameter());

    // Defaults as a host reads them: the mix at 50 %, the echo time at 200 ms.
    EXPECT_EQ (parameters[4]->getText (parameters[4]->getValue(), 100).getFloatValue(), 50.0f);
    EXPECT_EQ (parameters[32]->getText (parameters[32]->getValue(), 100).getIntValue(), 200);
}

TEST_F (Bundle, IsSilentWithoutMidi)
{
    const auto out = BundleHost::render (*plugin, {}, 8 * blockSize, blockSize);
    EXPECT_EQ (out.getMagnitude (0, out.getNumSamples()), 0.0f);
}

TEST_F (Bundle, PlaysTheMainSampleTransposedAfterANote)
{
    std::vector<float> frames (4000);
    for (size_t i = 0; i < frames.size(); ++i)
        frames[i] = 0.5f * std::sin (0.01f * (float) i);
    BundleHost::setProcessorState (*plugin, stateWithMainSample (frames));

    juce::MidiBuffer midi;
    midi.addEvent (juce::MidiMessage::noteOn (1, 36, (juce::uint8) 100), 100);
    const auto out = BundleHost::render (*plugin, midi, 12 * blockSize, blockSize);

    // Note 36 plays an octave up: output sample 100 + i reads source sample 2 i, heard after the
    // main sample's delay (the pitch shifter's priming, 50 ms).
    const auto start = 100 + 2400;
    EXPECT_EQ (out.getMagnitude (0, start), 0.0f);
    for (int i = 0; i < 1999; i += 97)
    {
        EXPECT_FLOAT_EQ (out.getSample (0, start + i), frames[(size_t) (2 * i)]) << i;
        EXPECT_FLOAT_EQ (out.getSample (1, start + i), frames[(size_t) (2 * i)]) << i;
    }
    EXPECT_EQ (out.getMagnitude (start + 2000, out.getNumSamples() - start - 2000), 0.0f);
}

TEST_F (Bundle, AStateSavedThroughTheHostRendersTheSameInAFreshInstance)
{
    std::vector<float> frames (3000);
    for (size_t i = 0; i < frames.size(); ++i)
        frames[i] = (float) ((i * 37) % 101) / 200.0f - 0.25f;
    BundleHost::setProcessorState (*plugin, stateWithMainSample (frames));
    plugin->getParameters()[5]->setValueNotifyingHost (0.25f); // output gain -12 dB

    const auto saved = BundleHost::getProcessorState (*plugin);
    ASSERT_GT (saved.getSize(), 9u);

    juce::String error;
    auto fresh = BundleHost::load (builtBundle(), sampleRate, blockSize, error);
    ASSERT_NE (fresh, nullptr) << error;
    BundleHost::setProcessorState (*fresh, saved);
    EXPECT_FLOAT_EQ (fresh->getParameters()[5]->getValue(), 0.25f);

    juce::MidiBuffer midi;
    midi.addEvent (juce::MidiMessage::noteOn (1, 29, (juce::uint8) 100), 0);
    midi.addEvent (juce::MidiMessage::noteOn (1, 17, (juce::uint8) 100), 1000);
    const auto expected = BundleHost::render (*plugin, midi, 12 * blockSize, blockSize);
    const auto heard = BundleHost::render (*fresh, midi, 12 * blockSize, blockSize);

    EXPECT_GT (heard.getMagnitude (0, heard.getNumSamples()), 0.01f);
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < heard.getNumSamples(); ++i)
            ASSERT_EQ (heard.getSample (c, i), expected.getSample (c, i)) << c << ", " << i;
}

TEST_F (Bundle, SoundOnesEchoRepeatsAtTheEchoTime)
{
    BundleHost::setProcessorState (*plugin, stateWithEchoingBurst (50));

    juce::MidiBuffer midi;
    midi.addEvent (juce::MidiMessage::noteOn (1, 60, (juce::uint8) 100), 0);
    const auto out = BundleHost::render (*plugin, midi, 16 * blockSize, blockSize);

    // Fully wet: the burst itself is gone, its repeats come every 2400 samples, 6 dB apart.
    const auto feedback = std::pow (10.0f, -0.3f);
    EXPECT_LT (out.getMagnitude (0, 2400), 1.0e-5f);
    EXPECT_NEAR (out.getSample (0, 2400 + 50), 0.5f * feedback, 1.0e-4f);
    EXPECT_NEAR (out.getSample (1, 2400 + 50), 0.5f * feedback, 1.0e-4f);
    EXPECT_LT (out.getMagnitude (0, 2500 + 5, 4800 - 2500 - 10), 1.0e-5f);
    EXPECT_NEAR (out.getSample (0, 4800 + 50), 0.5f * feedback * feedback, 1.0e-4f);
}

TEST (BundleHost, ReportsABundleThatIsNotThere)
{
    juce::String error;
    EXPECT_EQ (BundleHost::load (juce::File ("/nonexistent/Tessaline.vst3"), sampleRate, blockSize, error), nullptr);
    EXPECT_TRUE (error.contains ("no VST3 bundle"));
}
