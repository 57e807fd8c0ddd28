#include "TestSupport.h"

#include "BinaryData.h"
#include "components/AudioFileButton.h"
#include "components/VariationFileButton.h"
#include "processor/SampleBinary.h"

using namespace TestSupport;

namespace
{
    bool drawn (const juce::Image& image, int x, int y) { return image.getPixelAt (x, y).getAlpha() > 100; }

    // The rows of a waveform column that are drawn, as a (top, bottom) pair; (-1, -1) when none.
    std::pair<int, int> columnExtent (const juce::Image& image, int x)
    {
        int top = -1, bottom = -1;
        for (int y = 0; y < image.getHeight(); ++y)
            if (drawn (image, x, y))
            {
                if (top < 0)
                    top = y;
                bottom = y;
            }
        return { top, bottom };
    }

    std::unique_ptr<VariationFileButton> slotButton (TessalineAudioProcessor& processor)
    {
        return std::make_unique<VariationFileButton> (juce::Rectangle<int> (253, 127, 60, 48),
                                                      BinaryData::loadIconGrey, BinaryData::loadIconGreySize,
                                                      BinaryData::loadIconWhite, BinaryData::loadIconWhiteSize,
                                                      processor.parameters, "variation_1_slot_1_volume");
    }
}

TEST (SampleButtons, AcceptWavMp3AiffAndFlacInAnyCase)
{
    const std::pair<juce::StringArray, bool> cases[] {
        { { "/a/VOICE.WAV" }, true },
        { { "/a/take.Flac" }, true },
        { { "/a/take.mp3" }, true },
        { { "/a/take.aiff" }, true },
        { { "/a/take.aif" }, false },
        { { "/a/take.ogg" }, false },
        { { "/a/take.wav.txt" }, false },
        { {}, false },
        { { "/a/notes.txt", "/a/take.wav" }, true },
    };

    PreparedProcessor p;
    AudioFileButton main;
    auto slot = slotButton (p.processor);
    for (const auto& [paths, accepted] : cases)
    {
        SCOPED_TRACE (paths.joinIntoString (","));
        EXPECT_EQ (main.isInterestedInFileDrag (paths), accepted);
        EXPECT_EQ (slot->isInterestedInFileDrag (paths), accepted);
    }
}

TEST (SampleButtons, ADropTriesOnlyTheFirstExistingFile)
{
    PreparedProcessor p;
    const auto take = p.files.writeAudio ("take.wav", ramp (1, 300));
    const auto notes = p.files.writeText ("notes.txt", "not audio");
    const auto missing = p.files.get().getChildFile ("missing.wav");

    struct Case
    {
        const char* name;
        juce::StringArray paths;
        bool loads;
    };
    const Case cases[] {
        { "an existing text file first", { notes.getFullPathName(), take.getFullPathName() }, false },
        { "a folder", { p.files.get().getFullPathName() }, false },
        { "a missing file, then a sample", { missing.getFullPathName(), take.getFullPathName() }, true },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        juce::Array<juce::File> loaded;
        AudioFileButton main;
        main.onFileLoaded = [&loaded] (const juce::File& f) { loaded.add (f); };
        main.filesDropped (c.paths, 5, 5);
        EXPECT_EQ (main.isLoaded, c.loads);
        EXPECT_EQ (main.buttonState, c.loads ? SampleFiles::Loaded : SampleFiles::Idle);

        auto slot = slotButton (p.processor);
        slot->onFileLoaded = [&loaded] (const juce::File& f) { loaded.add (f); };
        slot->filesDropped (c.paths, 30, 40);
        EXPECT_EQ (slot->isLoaded, c.loads);
        EXPECT_EQ (slot->buttonState, c.loads ? SampleFiles::Loaded : SampleFiles::Idle);

        EXPECT_EQ (loaded.size(), c.loads ? 2 : 0);
        for (const auto& file : loaded)
            EXPECT_EQ (file, take);
    }
}

TEST (SampleButtons, WaveformColumnsFollowChannelZero)
{
    AudioFileButton main;

    // Fewer samples than columns: the columns with an empty range draw across the full height.
    main.updateWaveformImage (constant ({ 0.0f }, 10));
    EXPECT_EQ (columnExtent (main.getWaveformImage(), 1), std::make_pair (0, 99));
    main.updateWaveformImage (juce::AudioBuffer<float> (1, 0));
    for (const auto x : { 0, 75, 149 })
        EXPECT_EQ (columnExtent (main.getWaveformImage(), x), std::make_pair (0, 99)) << x;

    // Only channel 0 shapes the picture: a silent left channel draws nothing (each column's line
    // has no length), a full-scale right channel is ignored.
    main.updateWaveformImage (constant ({ 0.0f, 1.0f }, 3000));
    EXPECT_EQ (columnExtent (main.getWaveformImage(), 40), std::make_pair (-1, -1));

    // 30 million frames: column 75 covers frames 15,000,000 to 15,199,999, as for a short sample.
    // (A line at x = 75 is one pixel wide from 74.5 to 75.5, so it also tints column 74.)
    juce::AudioBuffer<float> huge (1, 30000000);
    huge.clear();
    auto* frames = huge.getWritePointer (0);
    frames[15000000] = 0.5f;
    frames[15199999] = -0.5f;
    main.updateWaveformImage (huge);
    EXPECT_EQ (columnExtent (main.getWaveformImage(), 75), std::make_pair (25, 74));
    EXPECT_EQ (columnExtent (main.getWaveformImage(), 76), std::make_pair (-1, -1));
    EXPECT_EQ (columnExtent (main.getWaveformImage(), 73), std::make_pair (-1, -1));
}

TEST (SampleButtons, MainSampleFromItsStoredFormWithShortData)
{
    // 300 frames, two per column, but data for the first 150 only: full-scale swings, then silence.
    AudioFileButton main;
    juce::AudioBuffer<float> swings (1, 150);
    for (int i = 0; i < 150; ++i)
        swings.setSample (0, i, i % 2 == 0 ? 1.0f : -1.0f);
    main.loadFromBinary (SampleBinary::encode (swings), 1, 300);

    EXPECT_TRUE (main.isLoaded);
    EXPECT_EQ (main.buttonState, SampleFiles::Loaded);
    EXPECT_EQ (columnExtent (main.getWaveformImage(), 10), std::make_pair (0, 99));
    EXPECT_EQ (columnExtent (main.getWaveformImage(), 100), std::make_pair (-1, -1));
}

TEST (SampleButtons, MainSampleLoadsAndReplacesItsPicture)
{
    PreparedProcessor p;
    AudioFileButton main;
    int calls = 0;
    main.onFileLoaded = [&calls] (const juce::File&) { ++calls; };

    main.loadAudioFile (p.files.writeText ("bad.wav", "not audio"));
    EXPECT_FALSE (main.isLoaded);
    EXPECT_EQ (calls, 0);

    const auto swinging = [] (float level)
    {
        juce::AudioBuffer<float> audio (1, 3000);
        for (int i = 0; i < 3000; ++i)
            audio.setSample (0, i, i % 2 == 0 ? level : -level);
        return audio;
    };
    main.loadAudioFile (p.files.writeAudio ("quiet.wav", swinging (0.2f)));
    EXPECT_TRUE (main.isLoaded);
    EXPECT_EQ (columnExtent (main.getWaveformImage(), 70), std::make_pair (40, 59));
    main.loadAudioFile (p.files.writeAudio ("loud.wav", swinging (0.8f)));
    EXPECT_EQ (columnExtent (main.getWaveformImage(), 70), std::make_pair (10, 89));
    EXPECT_EQ (calls, 2);

    // Once loaded, hovering changes nothing.
    const juce::MouseEvent event (juce::Desktop::getInstance().getMainMouseSource(), {}, {}, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                                  &main, &main, juce::Time(), {}, juce::Time(), 1, false);
    main.mouseEnter (event);
    EXPECT_EQ (main.buttonState, SampleFiles::Loaded);
}

TEST (SampleButtons, SlotReadOutShowsTheDraggedVolumeAboveTheKnob)
{
    PreparedProcessor p;
    auto slot = slotButton (p.processor);
    EXPECT_EQ (slot->volumeSlider.getBounds(), juce::Rectangle<int> (16, 20, 28, 28));

    for (const auto& [value, text] : { std::pair { -12.0, "-12.0 dB" }, std::pair { 0.0, "0.0 dB" }, std::pair { -3.5, "-3.5 dB" }, std::pair { 6.3, "6.3 dB" } })
    {
        slot->volumeSlider.setValue (value);
        slot->updateVolumeLabel();
        EXPECT_EQ (slot->getVolumeLabel().getText(), text);
    }
    EXPECT_EQ (slot->getVolumeLabel().getBounds(), juce::Rectangle<int> (0, -5, 60, 20)); // 25 above the knob, centred on it

    // A change from the host moves the knob but neither shows nor refreshes the read-out.
    auto* parameter = p.processor.parameters.getParameter ("variation_1_slot_1_volume");
    parameter->setValueNotifyingHost (parameter->convertTo0to1 (9.0f));
    pumpMessages (20);
    EXPECT_NEAR (slot->volumeSlider.getValue(), 9.0, 1.0e-4);
    EXPECT_FALSE (slot->getVolumeLabel().isVisible());
    EXPECT_EQ (slot->getVolumeLabel().getText(), "6.3 dB");
}

TEST (SampleButtons, SlotTransitionsAndHitArea)
{
    PreparedProcessor p;
    auto slot = slotButton (p.processor);

    EXPECT_TRUE (slot->hitTest (16, 20));
    EXPECT_TRUE (slot->hitTest (43, 47));
    EXPECT_FALSE (slot->hitTest (44, 47));
    EXPECT_FALSE (slot->hitTest (5, 5));

    juce::Array<juce::File> loaded;
    slot->onFileLoaded = [&loaded] (const juce::File& f) { loaded.add (f); };
    slot->loadAudioFile (p.files.writeText ("bad.wav", "not audio"));
    EXPECT_FALSE (slot->isLoaded);
    const auto take = p.files.writeAudio ("take.wav", ramp (2, 100));
    slot->loadAudioFile (take);
    EXPECT_TRUE (slot->isLoaded);
    EXPECT_EQ (slot->buttonState, SampleFiles::Idle); // the caller runs the loaded transition
    EXPECT_EQ (loaded, juce::Array<juce::File> { take });

    slot->showLoaded();
    EXPECT_EQ (slot->buttonState, SampleFiles::Loaded);
    EXPECT_TRUE (slot->volumeSlider.isVisible());
    bool self = true, children = false;
    slot->getInterceptsMouseClicks (self, children);
    EXPECT_FALSE (self);
    EXPECT_TRUE (children);

    slot->showEmpty();
    EXPECT_FALSE (slot->isLoaded);
    EXPECT_EQ (slot->buttonState, SampleFiles::Idle);
    EXPECT_FALSE (slot->volumeSlider.isVisible());
    slot->getInterceptsMouseClicks (self, children);
    EXPECT_TRUE (self);
}
