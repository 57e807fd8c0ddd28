#include "TestSupport.h"

#include "editor/PluginEditor.h"

namespace TestSupport
{
TemporaryFolder::TemporaryFolder()
    : folder (juce::File::createTempFile ("tessaline-test"))
{
    folder.createDirectory();
}

TemporaryFolder::~TemporaryFolder()
{
    folder.deleteRecursively();
}

juce::File TemporaryFolder::writeAudio (const juce::String& name, const juce::AudioBuffer<float>& audio,
                                        double fileSampleRate) const
{
    const auto file = folder.getChildFile (name);
    file.deleteFile();

    juce::AudioFormatManager formats;
    formats.registerBasicFormats();
    auto* format = formats.findFormatForFileExtension (file.getFileExtension());
    const auto bits = file.hasFileExtension ("wav") ? 32 : 24;

    std::unique_ptr<juce::OutputStream> stream = std::make_unique<juce::FileOutputStream> (file);
    std::unique_ptr<juce::AudioFormatWriter> writer (
        format->createWriterFor (stream.get(), fileSampleRate, (unsigned int) audio.getNumChannels(), bits, {}, 0));
    if (writer == nullptr)
    {
        ADD_FAILURE() << "no writer for " << name;
        return file;
    }

    stream.release();
    writer->writeFromAudioSampleBuffer (audio, 0, audio.getNumSamples());
    return file;
}

juce::File TemporaryFolder::writeText (const juce::String& name, const juce::String& text) const
{
    const auto file = folder.getChildFile (name);
    file.replaceWithText (text);
    return file;
}

juce::AudioBuffer<float> constant (std::initializer_list<float> values, int numSamples)
{
    juce::AudioBuffer<float> audio ((int) values.size(), numSamples);
    int channel = 0;
    for (const auto value : values)
        juce::FloatVectorOperations::fill (audio.getWritePointer (channel++), value, numSamples);
    return audio;
}

juce::AudioBuffer<float> ramp (int numChannels, int numSamples, float step)
{
    juce::AudioBuffer<float> audio (numChannels, numSamples);
    for (int c = 0; c < numChannels; ++c)
        for (int i = 0; i < numSamples; ++i)
            audio.setSample (c, i, (float) (i + 1) * step * (float) (c + 1));
    return audio;
}

juce::MidiBuffer notesAt (std::initializer_list<std::pair<int, int>> notesAndPositions)
{
    juce::MidiBuffer midi;
    for (const auto& [note, position] : notesAndPositions)
        midi.addEvent (juce::MidiMessage::noteOn (1, note, (juce::uint8) 100), position);
    return midi;
}

void pumpMessages (int milliseconds)
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (milliseconds);
}

juce::Image snapshot (juce::Component& component)
{
    juce::Image image (juce::Image::ARGB, component.getWidth(), component.getHeight(), true);
    juce::Graphics g (image);
    component.paintEntireComponent (g, true);
    return image;
}

HostedEditor::HostedEditor (TessalineAudioProcessor& p) : processor (p)
{
    open();
}

HostedEditor::~HostedEditor()
{
    close();
}

void HostedEditor::open()
{
    editor = dynamic_cast<TessalineAudioProcessorEditor*> (processor.createEditorIfNeeded());
    ASSERT_NE (editor, nullptr);
}

void HostedEditor::close()
{
    if (editor == nullptr)
        return;

    processor.editorBeingDeleted (editor);
    delete editor;
    editor = nullptr;
}

AudioThread::AudioThread (TessalineAudioProcessor& processor, std::function<bool (float)> isExpected)
    : thread ([this, &processor, isExpected]
      {
          juce::AudioBuffer<float> buffer (2, blockSize);
          for (int note = 0; running; ++note)
          {
              auto midi = notesAt ({ { 20 + note % 60, note % blockSize } });
              processor.processBlock (buffer, midi);
              for (int i = 0; i < blockSize; ++i)
                  if (! isExpected (buffer.getSample (0, i)))
                      ++unexpected;
              ++blocks;
          }
      })
{
}

AudioThread::~AudioThread()
{
    stop();
}

void AudioThread::stop()
{
    running = false;
    if (thread.joinable())
        thread.join();
}

PreparedProcessor::PreparedProcessor (int numChannels)
{
    auto layout = processor.getBusesLayout();
    layout.outputBuses.getReference (0) = numChannels == 1 ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo();
    processor.setBusesLayout (layout);
    processor.setRateAndBufferSizeDetails (sampleRate, blockSize);
    processor.prepareToPlay (sampleRate, blockSize);
}

juce::AudioBuffer<float> PreparedProcessor::process (const juce::MidiBuffer& midi, int numSamples)
{
    juce::AudioBuffer<float> buffer (processor.getTotalNumOutputChannels(), numSamples);
    buffer.clear();
    auto copy = midi;
    processor.processBlock (buffer, copy);
    return buffer;
}

juce::AudioBuffer<float> PreparedProcessor::processBlocks (int numBlocks, const juce::MidiBuffer& firstBlockMidi)
{
    juce::AudioBuffer<float> joined (processor.getTotalNumOutputChannels(), numBlocks * blockSize);
    for (int b = 0; b < numBlocks; ++b)
    {
        const auto block = process (b == 0 ? firstBlockMidi : juce::MidiBuffer());
        for (int c = 0; c < joined.getNumChannels(); ++c)
            joined.copyFrom (c, b * blockSize, block, c, 0, blockSize);
    }
    return joined;
}

void PreparedProcessor::setParameter (const juce::String& id, float rawValue)
{
    auto* parameter = processor.parameters.getParameter (id);
    ASSERT_NE (parameter, nullptr) << id;
    parameter->setValueNotifyingHost (parameter->convertTo0to1 (rawValue));
}
}
