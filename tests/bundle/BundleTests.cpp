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

TEST (BundleHost, ReportsABundleThatIsNotThere)
{
    juce::String error;
    EXPECT_EQ (BundleHost::load (juce::File ("/nonexistent/Tessaline.vst3"), sampleRate, blockSize, error), nullptr);
    EXPECT_TRUE (error.contains ("no VST3 bundle"));
}
