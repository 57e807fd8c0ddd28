#include "KitState.h"

#include "processor/ProjectState.h"
#include "processor/SampleBinary.h"

#include <juce_audio_processors/juce_audio_processors.h>

KitState::KitState (std::unique_ptr<juce::XmlElement> root) : xml (std::move (root)) {}

std::optional<KitState> KitState::fromBlob (const juce::MemoryBlock& blob, juce::String& error)
{
    // The plug-in's own reading rules: what they refuse, the plug-in would silently ignore.
    auto root = ProjectState::parse (blob.getData(), (int) blob.getSize());

    if (root == nullptr || ! root->getTagName().equalsIgnoreCase ("Parameters") || ! ProjectState::hasValidSampleCounts (*root))
    {
        error = "not a Tessaline state, or a damaged one";
        return {};
    }

    return KitState (std::move (root));
}

void KitState::setMainSample (const juce::AudioBuffer<float>& audio)
{
    xml->setAttribute ("mainSampleNumCh", audio.getNumChannels());
    xml->setAttribute ("mainSampleNumSamples", audio.getNumSamples());
    xml->setAttribute ("mainSampleLoaded", 1);
    xml->setAttribute ("mainSampleBinary", SampleBinary::toBase64 (SampleBinary::encode (audio)));
}

void KitState::setSlot (int variation, int slot, const juce::AudioBuffer<float>& audio, const juce::String& path)
{
    const auto prefix = "variation" + juce::String (variation);
    const auto infix = "_slot" + juce::String (slot);
    xml->setAttribute (prefix + "slot" + juce::String (slot) + "FilePath", path);
    xml->setAttribute (prefix + infix + "_binary", SampleBinary::toBase64 (SampleBinary::encode (audio)));
    xml->setAttribute (prefix + infix + "_numCh", audio.getNumChannels());
    xml->setAttribute (prefix + infix + "_numSm", audio.getNumSamples());
}

juce::MemoryBlock KitState::toBlob() const
{
    juce::MemoryBlock blob;
    juce::AudioProcessor::copyXmlToBinary (*xml, blob);
    return blob;
}
