#include "components/AudioFileButton.h"

#include "BinaryData.h"
#include "processor/SampleBinary.h"
#include "processor/SampleSlots.h"

#include <iostream>

AudioFileButton::AudioFileButton()
    : idleImage (juce::ImageCache::getFromMemory (BinaryData::loadIconGrey, BinaryData::loadIconGreySize)),
      hoverImage (juce::ImageCache::getFromMemory (BinaryData::loadIconWhite, BinaryData::loadIconWhiteSize))
{
    setBounds (33, 78, 196, 196);
    setInterceptsMouseClicks (true, true);
    setMouseCursor (juce::MouseCursor::PointingHandCursor);
}

void AudioFileButton::setState (int newState)
{
    buttonState = newState;
    repaint();
}

void AudioFileButton::mouseEnter (const juce::MouseEvent&)
{
    if (isLoaded)
        return;
    setMouseCursor (juce::MouseCursor::PointingHandCursor);
    setState (SampleFiles::Hover);
}

void AudioFileButton::mouseExit (const juce::MouseEvent&)
{
    if (isLoaded)
        return;
    setMouseCursor (juce::MouseCursor());
    setState (SampleFiles::Idle);
}

void AudioFileButton::mouseUp (const juce::MouseEvent&)
{
    openFileChooser();
}

void AudioFileButton::openFileChooser()
{
    SampleFiles::choose ([safeThis = juce::Component::SafePointer<AudioFileButton> (this)] (const juce::File& file)
    {
        if (safeThis != nullptr)
            safeThis->loadAudioFile (file);
    });
}

bool AudioFileButton::isInterestedInFileDrag (const juce::StringArray& files)
{
    return SampleFiles::isInterestedIn (files);
}

void AudioFileButton::fileDragEnter (const juce::StringArray& files, int, int)
{
    if (! SampleFiles::isInterestedIn (files))
        return;
    isDragOver = true;
    setMouseCursor (juce::MouseCursor::CopyingCursor);
    setState (SampleFiles::Hover);
}

void AudioFileButton::fileDragExit (const juce::StringArray&)
{
    isDragOver = false;
    setMouseCursor (juce::MouseCursor::PointingHandCursor);
    setState (isLoaded ? SampleFiles::Loaded : SampleFiles::Idle);
}

void AudioFileButton::filesDropped (const juce::StringArray& files, int, int)
{
    if (const auto file = SampleFiles::firstExistingFile (files))
        loadAudioFile (*file);

    isDragOver = false;
    setMouseCursor (juce::MouseCursor::PointingHandCursor);
    setState (isLoaded ? SampleFiles::Loaded : SampleFiles::Idle);
}

void AudioFileButton::loadAudioFile (const juce::File& file)
{
    auto decoded = SampleSlots::decodeFile (file);
    if (decoded == nullptr)
        return;

    audioBuffer = std::move (*decoded);
    isLoaded = true;
    updateWaveformImage (audioBuffer);
    buttonState = SampleFiles::Loaded;

    if (onFileLoaded)
        onFileLoaded (file);

    std::cout << "File loaded successfully: " << file.getFullPathName() << std::endl;
}

void AudioFileButton::loadFromBinary (const juce::MemoryBlock& data, int numChannels, int numSamples)
{
    if (const auto audio = SampleBinary::decode (data.getData(), data.getSize(), numChannels, numSamples))
        updateWaveformImage (*audio);

    isLoaded = true;
    setState (SampleFiles::Loaded);
}

void AudioFileButton::updateWaveformImage (const juce::AudioBuffer<float>& buffer)
{
    waveformImage = juce::Image (juce::Image::ARGB, waveformWidth, waveformHeight, true);
    juce::Graphics g (waveformImage);
    g.fillAll (juce::Colours::transparentBlack);
    g.setColour (juce::Colours::white);

    const auto half = (float) waveformHeight * 0.5f;
    const auto numSamples = (juce::int64) buffer.getNumSamples();
    const auto* samples = buffer.getNumChannels() > 0 ? buffer.getReadPointer (0) : nullptr;
    const auto bound = [numSamples] (juce::int64 column)
    {
        // 64-bit products, so that long samples map as proportionally as short ones.
        const auto position = (int) ((float) (column * numSamples) / (float) waveformWidth);
        return juce::jlimit (0, (int) juce::jmax ((juce::int64) 0, numSamples - 1), position);
    };

    for (int i = 0; i < waveformWidth; ++i)
    {
        const auto start = bound (i), end = bound (i + 1);
        auto highest = -1.0f, lowest = 1.0f;

        for (int j = start; samples != nullptr && j < end; ++j)
        {
            highest = juce::jmax (highest, samples[j]);
            lowest = juce::jmin (lowest, samples[j]);
        }

        // An empty range keeps -1 and +1 and so draws across the full height.
        const auto y1 = (float) (int) (half - highest * half);
        const auto y2 = (float) (int) (half - lowest * half);
        g.drawLine ((float) i, y1, (float) i, y2);
    }
}

void AudioFileButton::paint (juce::Graphics& g)
{
    const auto draw = [&g] (const juce::Image& image, juce::Rectangle<int> area)
    {
        if (image.isValid())
            g.drawImageWithin (image, area.getX(), area.getY(), area.getWidth(), area.getHeight(), juce::RectanglePlacement::centred);
    };

    if ((isLoaded || buttonState == SampleFiles::Loaded) && waveformImage.isValid())
        draw (waveformImage, waveformBounds);
    else if (buttonState == SampleFiles::Hover)
        draw (hoverImage, iconBounds);
    else if (buttonState == SampleFiles::Idle)
        draw (idleImage, iconBounds);
}

void AudioFileButton::resized()
{
    const auto w = getWidth(), h = getHeight();
    iconBounds = { w / 2 - iconWidth / 2, h / 2 - iconHeight / 2, iconWidth, iconHeight };
    waveformBounds = { w / 2 - waveformWidth / 2, h / 2 - waveformHeight / 2, waveformWidth, waveformHeight };
}
