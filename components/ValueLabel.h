#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

// A label under a parameter's control that rests on a caption, shows the value while the user
// drags the control, and takes typed values.
namespace ValueLabel
{
    // Installs the label's and the slider's callbacks:
    // - dragging shows `readOut()`; only the user's own drag moves it, not the host or an attachment;
    //   the end of the drag brings the caption back;
    // - a click opens a field holding `editText()`, all selected; a committed text other than the
    //   caption sets the parameter to its leading number (clamped and snapped by the parameter,
    //   no number reading as 0), then the caption comes back.
    void connect (juce::Label& label, juce::Slider& slider, const juce::String& caption,
                  juce::RangedAudioParameter* parameter, std::function<juce::String()> readOut,
                  std::function<juce::String()> editText);
}
