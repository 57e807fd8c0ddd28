// One full paint of the editor window on each page, into an image of the window's size, against
// drawing the 3200 x 2000 page picture scaled to the window on every paint.

#include "editor/PluginEditor.h"

#include "BenchmarkSupport.h"
#include "BinaryData.h"

namespace
{
    void paintPage (benchmark::State& state, int page)
    {
        const juce::ScopedJuceInitialiser_GUI juce;
        TessalineAudioProcessor processor;
        processor.parameters.state.setProperty (TessalineAudioProcessorEditor::uiPageNumKey, page, nullptr);
        const auto editor = std::unique_ptr<juce::AudioProcessorEditor> (processor.createEditor());
        juce::Image image (juce::Image::RGB, editor->getWidth(), editor->getHeight(), true);

        for (auto _ : state)
        {
            juce::Graphics g (image);
            editor->paintEntireComponent (g, true);
        }

        BenchmarkSupport::describe (state, "BM_PaintScalingThePicture", 0.0);
    }

    void BM_PaintDashboard (benchmark::State& state) { paintPage (state, TessalineAudioProcessorEditor::dashboardPage); }
    void BM_PaintSequencerPage (benchmark::State& state) { paintPage (state, TessalineAudioProcessorEditor::sequencerPage); }

    void BM_PaintScalingThePicture (benchmark::State& state)
    {
        const auto picture = juce::ImageCache::getFromMemory (BinaryData::dashboardBackground, BinaryData::dashboardBackgroundSize);
        juce::Image image (juce::Image::RGB, 800, 500, true);

        for (auto _ : state)
        {
            juce::Graphics g (image);
            g.drawImageTransformed (picture, juce::AffineTransform::scale (0.25f));
        }

        BenchmarkSupport::describe (state, nullptr, 0.0);
    }
}

BENCHMARK (BM_PaintScalingThePicture)->Unit (benchmark::kMillisecond)->Repetitions (9)->ReportAggregatesOnly (true);
BENCHMARK (BM_PaintDashboard)->Unit (benchmark::kMillisecond)->Repetitions (9)->ReportAggregatesOnly (true);
BENCHMARK (BM_PaintSequencerPage)->Unit (benchmark::kMillisecond)->Repetitions (9)->ReportAggregatesOnly (true);
