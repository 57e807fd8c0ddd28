#include "components/VariationFileButton.h"

VariationFileButton::VariationFileButton (const juce::Rectangle<int>& bounds, const void* idleImageData, int idleImageSize,
                                          const void* hoverImageData, int hoverImageSize,
                                          juce::AudioProcessorValueTreeState& state, const juce::String& parameterID)
    : idleImage (juce::ImageCache::getFromMemory (idleImageData, idleImageSize)),
      hoverImage (juce::ImageCache::getFromMemory (hoverImageData, hoverImageSize))
{
    setBounds (bounds);
    setInterceptsMouseClicks (true, true);
    formatManager.registerBasicFormats();

    volumeSlider.setSliderStyle (juce::Slider::RotaryVerticalDrag);
    volumeSlider.setTextBoxStyle (juce::Slider::NoTextBox, false, 0, 0);
    volumeSlider.setLookAndFeel (&knobLookAndFeel);
    addAndMakeVisible (volumeSlider);
    volumeAttachment = std::make_unique<juce::AudioProcessorValueTreeState::SliderAttachment> (state, parameterID, volumeSlider);

    volumeLabel.setJustificationType (juce::Justification::centred);
    volumeLabel.setColour (juce::Label::textColourId, juce::Colours::white);
    volumeLabel.setColour (juce::Label::backgroundColourId, juce::Colours::black);
    volumeLabel.setEditable (false, false, false);
    volumeLabel.setInterceptsMouseClicks (false, false);
    addChildComponent (volumeLabel);

    // Only the user's own drag shows and moves the read-out, not the host or the attachment.
    volumeSlider.onDragStart = [this]
    {
        volumeLabel.setVisible (true);
        updateVolumeLabel();
    };
    volumeSlider.onValueChange = [this]
    {
        if (volumeSlider.isMouseButtonDown())
            updateVolumeLabel();
    };
    volumeSlider.onDragEnd = [this] { volumeLabel.setVisible (false); };

    setOpaque (false);
    resized();
}

VariationFileButton::~VariationFileButton()
{
    volumeSlider.setLookAndFeel (nullptr);
}

void VariationFileButton::setState (int newState)
{
    buttonState = newState;
    repaint();
}

void VariationFileButton::mouseEnter (const juce::MouseEvent&)
{
    if (buttonState == SampleFiles::Loaded)
        return;
    setMouseCursor (juce::MouseCursor::PointingHandCursor);
    setState (SampleFiles::Hover);
}

void VariationFileButton::mouseExit (const juce::MouseEvent&)
{
    if (buttonState == SampleFiles::Loaded)
        return;
    setMouseCursor (juce::MouseCursor());
    setState (SampleFiles::Idle);
}

void VariationFileButton::mouseUp (const juce::MouseEvent&)
{
    if (buttonState != SampleFiles::Loaded)
        openFileChooser();
}

bool VariationFileButton::hitTest (int x, int y)
{
    return volumeSlider.getBounds().contains (x, y);
}

void VariationFileButton::openFileChooser()
{
    SampleFiles::choose ([safeThis = juce::Component::SafePointer<VariationFileButton> (this)] (const juce::File& file)
    {
        if (safeThis == nullptr)
            return;
        safeThis->loadAudioFile (file);
        if (safeThis != nullptr && safeThis->isLoaded)
            safeThis->showLoaded();
    });
}

bool VariationFileButton::isInterestedInFileDrag (const juce::StringArray& files)
{
    return SampleFiles::isInterestedIn (files);
}

void VariationFileButton::fileDragEnter (const juce::StringArray& files, int, int)
{
    if (buttonState == SampleFiles::Loaded || ! SampleFiles::isInterestedIn (files))
        return;
    setMouseCursor (juce::MouseCursor::CopyingCursor);
    setState (SampleFiles::Hover);
}

void VariationFileButton::fileDragExit (const juce::StringArray&)
{
    if (buttonState == SampleFiles::Loaded)
        return;
    setMouseCursor (juce::MouseCursor::PointingHandCursor);
    setState (SampleFiles::Idle);
}

void VariationFileButton::filesDropped (const juce::StringArray& files, int, int)
{
    if (const auto file = SampleFiles::firstExistingFile (files))
        loadAudioFile (*file);

    if (isLoaded)
    {
        showLoaded();
        setMouseCursor (juce::MouseCursor());
    }
}

void VariationFileButton::loadAudioFile (const juce::File& file)
{
    const std::unique_ptr<juce::AudioFormatReader> reader (formatManager.createReaderFor (file));
    if (reader == nullptr)
        return;

    isLoaded = true;
    if (onFileLoaded)
        onFileLoaded (file);
}

void VariationFileButton::showLoaded()
{
    isLoaded = true;
    buttonState = SampleFiles::Loaded;
    volumeSlider.setVisible (true);
    setInterceptsMouseClicks (false, true);
    repaint();
}

void VariationFileButton::showEmpty()
{
    isLoaded = false;
    buttonState = SampleFiles::Idle;
    volumeSlider.setVisible (false);
    setInterceptsMouseClicks (true, true);
    repaint();
}

void VariationFileButton::updateVolumeLabel()
{
    volumeLabel.setText (juce::String ((float) volumeSlider.getValue(), 1) + " dB", juce::dontSendNotification);
    const auto knob = volumeSlider.getBounds();
    volumeLabel.setBounds (knob.getX() + knob.getWidth() / 2 - 30, knob.getY() - 25, 60, 20);
}

void VariationFileButton::paint (juce::Graphics& g)
{
    if (buttonState == SampleFiles::Loaded)
        return;

    const auto x0 = (getWidth() - knobSize) / 2, y0 = getHeight() - knobSize;
    const juce::Point<float> centre ((float) x0 + 14.0f, (float) y0 + 14.0f);

    g.setColour (buttonState == SampleFiles::Hover ? juce::Colours::white : juce::Colour (0xff8a8a8a));
    g.drawEllipse (centre.x - 13.5f, centre.y - 13.5f, 27.0f, 27.0f, 1.0f);

    const auto& icon = buttonState == SampleFiles::Hover && hoverImage.isValid() ? hoverImage : idleImage;
    if (icon.isValid())
        g.drawImageWithin (icon, (int) centre.x - 6, (int) centre.y - 6, 13, 13, juce::RectanglePlacement::centred);
}

void VariationFileButton::resized()
{
    volumeSlider.setBounds ((getWidth() - knobSize) / 2, getHeight() - knobSize, knobSize, knobSize);
    if (volumeLabel.isVisible())
        updateVolumeLabel();
}
