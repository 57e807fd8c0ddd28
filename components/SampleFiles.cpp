#include "components/SampleFiles.h"

namespace SampleFiles
{
bool isInterestedIn (const juce::StringArray& paths)
{
    for (const auto& path : paths)
        for (const auto* extension : { ".wav", ".mp3", ".aiff", ".flac" })
            if (path.endsWithIgnoreCase (extension))
                return true;
    return false;
}

std::optional<juce::File> firstExistingFile (const juce::StringArray& paths)
{
    for (const auto& path : paths)
        if (juce::File::isAbsolutePath (path) && juce::File (path).existsAsFile())
            return juce::File (path);
    return {};
}

void choose (std::function<void (const juce::File&)> chosen)
{
    auto chooser = std::make_shared<juce::FileChooser> ("Select an audio file...", juce::File(), "*.wav;*.mp3;*.aiff;*.flac");
    chooser->launchAsync (juce::FileBrowserComponent::openMode | juce::FileBrowserComponent::canSelectFiles,
                          [chooser, chosen] (const juce::FileChooser& dialog)
                          {
                              const auto result = dialog.getResult();
                              if (result.existsAsFile())
                                  chosen (result);
                          });
}
}
