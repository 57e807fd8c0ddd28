// tessaline-render as its users run it: a separate process driving the built VST3 bundle.

#include "BundleHost.h"

#include <gtest/gtest.h>

namespace
{
    constexpr double sampleRate = 48000.0;
    constexpr int latency = 2400; // the main sample's delay at 48 kHz

    struct Result
    {
        int exitCode;
        juce::String output;
    };

    class Renderer : public testing::Test
    {
    protected:
        void SetUp() override { folder.createDirectory(); }
        void TearDown() override { folder.deleteRecursively(); }

        juce::File file (const juce::String& name) const { return folder.getChildFile (name); }

        Result run (juce::StringArray arguments) const
        {
            arguments.insert (0, TESSALINE_RENDERER);
            arguments.addArray ({ "--bundle", TESSALINE_BUILT_BUNDLE });

            juce::ChildProcess process;
            if (! process.start (arguments, juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr))
                return { -1, "could not start" };

            const auto output = process.readAllProcessOutput();
            process.waitForProcessToFinish (60000);
            return { (int) process.getExitCode(), output };
        }

        juce::File writeWav (const juce::String& name, const juce::AudioBuffer<float>& audio) const
        {
            const auto target = file (name);
            auto stream = std::make_unique<juce::FileOutputStream> (target);
            juce::WavAudioFormat wav;
            std::unique_ptr<juce::AudioFormatWriter> writer (wav.createWriterFor (stream.get(), sampleRate, (unsigned int) audio.getNumChannels(), 32, {}, 0));
            stream.release();
            writer->writeFromAudioSampleBuffer (audio, 0, audio.getNumSamples());
            return target;
        }

        juce::AudioBuffer<float> readWav (const juce::String& name) const
        {
            juce::WavAudioFormat wav;
            std::unique_ptr<juce::AudioFormatReader> reader (wav.createReaderFor (new juce::FileInputStream (file (name)), true));
            if (reader == nullptr)
            {
                ADD_FAILURE() << "no WAV at " << name;
                return {};
            }
            juce::AudioBuffer<float> audio ((int) reader->numChannels, (int) reader->lengthInSamples);
            reader->read (&audio, 0, audio.getNumSamples(), 0, true, true);
            return audio;
        }

        // Variation v (counted from 1) holds a short mono constant of v / 16.
        juce::StringArray levelSlots() const
        {
            juce::StringArray arguments;
            for (int v = 1; v <= 8; ++v)
            {
                juce::AudioBuffer<float> level (1, 4800);
                level.clear();
                juce::FloatVectorOperations::fill (level.getWritePointer (0), (float) v / 16.0f, 4800);
                arguments.addArray ({ "--slot", juce::String (v) + ".1=" + writeWav ("level" + juce::String (v) + ".wav", level).getFullPathName() });
            }
            return arguments;
        }

        const juce::File folder { juce::File::createTempFile ("tessaline-render-test") };
    };

    juce::AudioBuffer<float> sine (double frequency, double seconds)
    {
        juce::AudioBuffer<float> audio (1, (int) (seconds * sampleRate));
        for (int i = 0; i < audio.getNumSamples(); ++i)
            audio.setSample (0, i, 0.5f * (float) std::sin (juce::MathConstants<double>::twoPi * frequency * i / sampleRate));
        return audio;
    }

    // Counts the rising zero crossings of channel 0 over a window: a frequency estimate.
    double frequencyAround (const juce::AudioBuffer<float>& audio, double fromSeconds, double toSeconds)
    {
        const auto from = (int) (fromSeconds * sampleRate), to = (int) (toSeconds * sampleRate);
        int crossings = 0;
        for (int i = from + 1; i < to; ++i)
            crossings += audio.getSample (0, i - 1) < 0.0f && audio.getSample (0, i) >= 0.0f ? 1 : 0;
        return crossings / (toSeconds - fromSeconds);
    }
}

TEST_F (Renderer, NotesTransposeTheMainSample)
{
    const auto main = writeWav ("sine.wav", sine (200.0, 2.0));
    const auto result = run ({ "--main", main.getFullPathName(), "--notes", "24,36@1s,12@2s", "--set", "mix=0",
                               "--tail", "1", "--bits", "32", "--out", file ("out.wav").getFullPathName() });
    ASSERT_EQ (result.exitCode, 0) << result.output;

    const auto out = readWav ("out.wav");
    ASSERT_EQ (out.getNumSamples(), (int) (3.5 * sampleRate));
    const auto delay = latency / sampleRate;
    EXPECT_NEAR (frequencyAround (out, delay + 0.1, delay + 0.4), 200.0, 7.0);
    EXPECT_NEAR (frequencyAround (out, delay + 1.1, delay + 1.4), 400.0, 7.0);
    EXPECT_NEAR (frequencyAround (out, delay + 2.1, delay + 2.4), 100.0, 7.0);
}

TEST_F (Renderer, VariationsPlayInPatternOrderFromNotesOrAMidiFile)
{
    juce::MidiMessageSequence track;
    for (int i = 0; i < 8; ++i)
    {
        track.addEvent (juce::MidiMessage::noteOn (1, 60, (juce::uint8) 100), i * 240.0);
        track.addEvent (juce::MidiMessage::noteOff (1, 60), i * 240.0 + 120.0);
    }
    juce::MidiFile midi;
    midi.setTicksPerQuarterNote (480); // at the default 120 beats per minute: 240 ticks = 0.25 s
    midi.addTrack (track);
    juce::FileOutputStream stream (file ("phrase.mid"));
    midi.writeTo (stream);
    stream.flush();

    const auto common = [this] (const juce::String& out)
    {
        auto arguments = levelSlots();
        arguments.addArray ({ "--set", "mix=100", "--set", "effectsOn=0", "--bits", "32", "--tail", "0.2",
                              "--out", file (out).getFullPathName() });
        return arguments;
    };

    auto fromNotes = common ("notes.wav");
    fromNotes.addArray ({ "--notes", "60,60@0.25,60@0.5s,60@0.75,60@1s,60@1.25,60@1.5,60@1.75" });
    auto fromMidi = common ("midi.wav");
    fromMidi.addArray ({ "--midi", file ("phrase.mid").getFullPathName() });

    for (const auto& [arguments, name] : { std::pair { fromNotes, "notes.wav" }, std::pair { fromMidi, "midi.wav" } })
    {
        SCOPED_TRACE (name);
        const auto result = run (arguments);
        ASSERT_EQ (result.exitCode, 0) << result.output;

        const auto out = readWav (name);
        std::vector<int> heard;
        for (int i = 0; i < 8; ++i)
            heard.push_back (juce::roundToInt (out.getSample (0, (int) ((i * 0.25 + 0.01) * sampleRate)) * 16.0f));
        EXPECT_EQ (heard, (std::vector<int> { 2, 3, 4, 5, 6, 7, 8, 1 }));
    }
}

TEST_F (Renderer, SlotVolumesAndTheMixScaleTheVariations)
{
    auto arguments = levelSlots();
    arguments.addArray ({ "--set", "variation_2_slot_1_volume=6", "--set", "mix=25", "--set", "effectsOn=0",
                          "--notes", "60", "--bits", "32", "--tail", "0", "--out", file ("out.wav").getFullPathName() });
    const auto result = run (arguments);
    ASSERT_EQ (result.exitCode, 0) << result.output;

    EXPECT_NEAR (readWav ("out.wav").getSample (0, 100), 2.0f / 16.0f * std::pow (10.0f, 6.0f / 20.0f) * 0.25f, 1.0e-6f);
}

TEST_F (Renderer, ASavedStateRendersTheSameInAFreshInstanceWithoutItsFiles)
{
    auto first = levelSlots();
    first.addArray ({ "--main", writeWav ("sine.wav", sine (150.0, 1.0)).getFullPathName(), "--set", "sound_2_echo_mix=50",
                      "--set", "sound_2_space_mix=30", "--notes", "30,31,32,33", "--bits", "32",
                      "--save-state", file ("kit.state").getFullPathName(), "--out", file ("first.wav").getFullPathName() });
    const auto saved = run (first);
    ASSERT_EQ (saved.exitCode, 0) << saved.output;

    for (int v = 1; v <= 8; ++v)
        file ("level" + juce::String (v) + ".wav").deleteFile();
    file ("sine.wav").deleteFile();

    const auto restored = run ({ "--state", file ("kit.state").getFullPathName(), "--notes", "30,31,32,33", "--bits", "32",
                                 "--out", file ("second.wav").getFullPathName() });
    ASSERT_EQ (restored.exitCode, 0) << restored.output;

    const auto a = readWav ("first.wav"), b = readWav ("second.wav");
    ASSERT_EQ (a.getNumSamples(), b.getNumSamples());
    EXPECT_GT (a.getMagnitude (0, a.getNumSamples()), 0.1f);
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < a.getNumSamples(); ++i)
            ASSERT_EQ (a.getSample (c, i), b.getSample (c, i)) << c << ", " << i;
}

TEST_F (Renderer, DemoWritesAudioAndAPicture)
{
    const auto result = run ({ "--demo", "--out", file ("demo.wav").getFullPathName(), "--png", file ("demo.png").getFullPathName() });
    ASSERT_EQ (result.exitCode, 0) << result.output;
    EXPECT_TRUE (result.output.contains ("Wrote " + file ("demo.png").getFullPathName()));

    const auto audio = readWav ("demo.wav");
    EXPECT_GT (audio.getMagnitude (0, audio.getNumSamples()), 0.1f);
    const auto picture = juce::ImageFileFormat::loadFrom (file ("demo.png"));
    EXPECT_EQ (picture.getWidth(), 1200);
    EXPECT_EQ (picture.getHeight(), 360);
}

TEST_F (Renderer, BadInputIsNamedAndWritesNothing)
{
    file ("noise.wav").replaceWithText ("not audio at all");
    file ("garbage.state").replaceWithText ("VC2!garbage");
    const auto out = file ("out.wav").getFullPathName();
    const auto png = file ("out.png").getFullPathName();

    struct Case
    {
        juce::StringArray arguments;
        int exitCode;
        const char* message;
    };
    const Case cases[] {
        { { "--notes", "60", "--slot", "9.1=" + file ("noise.wav").getFullPathName(), "--out", out }, 2, "bad slot '9.1=" },
        { { "--notes", "60", "--slot", "1.4=x.wav", "--out", out }, 2, "bad slot" },
        { { "--notes", "60", "--slot", "one=x.wav", "--out", out }, 2, "bad slot" },
        { { "--notes", "60", "--main", file ("missing.wav").getFullPathName(), "--out", out }, 1, "no such file: " },
        { { "--notes", "60", "--slot", "2.2=" + file ("noise.wav").getFullPathName(), "--out", out }, 1, "cannot decode audio file" },
        { { "--notes", "60", "--set", "loudness=3", "--out", out }, 1, "unknown parameter 'loudness'" },
        { { "--notes", "60", "--set", "mix=150", "--out", out }, 1, "value 150 for mix is outside its range" },
        { { "--notes", "60", "--set", "sound_0_echo_attribute=1", "--out", out }, 1, "outside its range" },
        { { "--notes", "60", "--set", "mix=loud", "--out", out }, 2, "bad setting 'mix=loud'" },
        { { "--notes", "60", "--state", file ("garbage.state").getFullPathName(), "--out", out, "--png", png }, 1, "is not a Tessaline state" },
        { { "--notes", "60", "--state", file ("missing.state").getFullPathName(), "--out", out }, 1, "cannot read state file" },
        { { "--notes", "60,x", "--out", out }, 2, "bad note 'x'" },
        { { "--notes", "60@2s,61@1s", "--out", out }, 2, "bad note" },
        { { "--midi", file ("missing.mid").getFullPathName(), "--out", out }, 1, "cannot read MIDI file" },
        { { "--out", out }, 2, "nothing to play" },
        { { "--notes", "60" }, 2, "nothing to write" },
        { { "--notes", "60", "--out", file ("out.mp3").getFullPathName() }, 2, "must name a .wav file" },
        { { "--notes", "60", "--rate", "1000", "--out", out }, 2, "--rate must be between" },
        { { "--notes", "60", "--loud", "--out", out }, 2, "unknown option '--loud'" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.arguments.joinIntoString (" "));
        const auto result = run (c.arguments);
        EXPECT_EQ (result.exitCode, c.exitCode);
        EXPECT_TRUE (result.output.contains (c.message)) << result.output;
        EXPECT_FALSE (file ("out.wav").exists());
        EXPECT_FALSE (file ("out.png").exists());
    }

    // A bundle that does not load.
    juce::ChildProcess process;
    ASSERT_TRUE (process.start (juce::StringArray { TESSALINE_RENDERER, "--demo", "--bundle", folder.getFullPathName(), "--out", out },
                                juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr));
    EXPECT_TRUE (process.readAllProcessOutput().contains ("cannot load the bundle"));
    process.waitForProcessToFinish (60000);
    EXPECT_EQ (process.getExitCode(), 1u);
    EXPECT_FALSE (file ("out.wav").exists());
}

TEST_F (Renderer, HelpDescribesTheOptions)
{
    const auto result = run ({ "--help" });
    EXPECT_EQ (result.exitCode, 0);
    for (const auto* option : { "Usage: tessaline-render", "--main FILE", "--slot V.S=FILE", "--notes LIST", "--midi FILE",
                                "--set NAME=VALUE", "--state FILE", "--save-state FILE", "--rate", "--block", "--tail",
                                "--out FILE.wav", "--png FILE.png" })
        EXPECT_TRUE (result.output.contains (option)) << option;
}
