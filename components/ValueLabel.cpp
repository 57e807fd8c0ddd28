#include "components/ValueLabel.h"

namespace ValueLabel
{
void connect (juce::Label& label, juce::Slider& slider, const juce::String& caption,
              juce::RangedAudioParameter* parameter, std::function<juce::String()> readOut,
              std::function<juce::String()> editText)
{
    label.setText (caption, juce::dontSendNotification);

    slider.onDragStart = [&label, readOut] { label.setText (readOut(), juce::dontSendNotification); };
    slider.onValueChange = [&slider, &label, readOut]
    {
        if (slider.isMouseButtonDown())
            label.setText (readOut(), juce::dontSendNotification);
    };
    slider.onDragEnd = [&label, caption] { label.setText (caption, juce::dontSendNotification); };

    label.onEditorShow = [&label, editText]
    {
        if (auto* editor = label.getCurrentTextEditor())
        {
            editor->setText (editText(), true);
            editor->selectAll();
        }
    };
    label.onTextChange = [&label, caption, parameter]
    {
        if (label.getText() == caption)
            return;

        if (parameter != nullptr)
            parameter->setValueNotifyingHost (parameter->convertTo0to1 ((float) label.getText().getDoubleValue()));

        label.setText (caption, juce::dontSendNotification);
    };
}
}
