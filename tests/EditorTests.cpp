#include "TestSupport.h"

#include "BinaryData.h"
#include "components/LookAndFeels.h"
#include "editor/EditorButtons.h"
#include "editor/PluginEditor.h"

using namespace TestSupport;

namespace
{
    const auto accentPurple = juce::Colour::fromString ("FF3a104a");
    const auto mutedGrey = juce::Colour::fromString ("FF8a8a8a");

    bool isWhite (juce::Colour c) { return c.getAlpha() > 200 && c.getRed() > 230 && c.getGreen() > 230 && c.getBlue() > 230; }
    bool isClose (juce::Colour a, juce::Colour b, int tolerance = 6)
    {
        return std::abs (a.getRed() - b.getRed()) <= tolerance && std::abs (a.getGreen() - b.getGreen()) <= tolerance
               && std::abs (a.getBlue() - b.getBlue()) <= tolerance && a.getAlpha() > 200;
    }
    bool isEmpty (juce::Colour c) { return c.getAlpha() < 20; }

    // Mostly white: an antialiased edge of a white line.
    bool isBright (juce::Colour c) { return c.getAlpha() > 100 && c.getBrightness() > 0.5f && c.getSaturation() < 0.3f; }

    // How many pixels of a region are drawn at all.
    int drawnPixels (const juce::Image& image, juce::Rectangle<int> area)
    {
        int count = 0;
        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
                count += isEmpty (image.getPixelAt (x, y)) ? 0 : 1;
        return count;
    }
}

//==============================================================================
TEST (LookAndFeels, GainSliderDrawsThinTracksAndARoundThumb)
{
    HorizontalSliderLookAndFeel style;
    juce::Slider slider (juce::Slider::LinearHorizontal, juce::Slider::NoTextBox);
    slider.setLookAndFeel (&style);
    slider.setColour (juce::Slider::thumbColourId, juce::Colours::white);
    slider.setColour (juce::Slider::trackColourId, juce::Colours::white);
    slider.setRange (0.0, 1.0);
    slider.setValue (0.5);
    slider.setSize (178, 15);

    const auto image = snapshot (slider);
    const auto valueX = juce::roundToInt (slider.getPositionOfValue (0.5));
    EXPECT_TRUE (isWhite (image.getPixelAt (20, 7)));                      // value track
    EXPECT_TRUE (isClose (image.getPixelAt (160, 7), mutedGrey));           // background track
    EXPECT_TRUE (isEmpty (image.getPixelAt (160, 4)));                      // 2 pixels thick only
    EXPECT_TRUE (isWhite (image.getPixelAt (valueX, 7 - 5)));               // thumb, 15 across
    EXPECT_EQ (style.getSliderThumbRadius (slider), 15);
    slider.setLookAndFeel (nullptr);
}

TEST (LookAndFeels, EffectKnobIsACircleWithAPointerFromTheCentre)
{
    OutlineKnobLookAndFeel style;
    juce::Slider knob (juce::Slider::RotaryHorizontalVerticalDrag, juce::Slider::NoTextBox);
    knob.setLookAndFeel (&style);
    knob.setRange (0.0, 1.0);
    knob.setSize (38, 38);

    // Radius 16.15 about (19, 20): the rim's top and bottom, nothing just outside.
    for (const auto value : { 0.0, 1.0, 0.5 })
    {
        SCOPED_TRACE (value);
        knob.setValue (value);
        const auto image = snapshot (knob);
        EXPECT_FALSE (isEmpty (image.getPixelAt (19, 4)));
        EXPECT_FALSE (isEmpty (image.getPixelAt (19, 36)));
        EXPECT_TRUE (isEmpty (image.getPixelAt (19, 1)));

        // The pointer runs along the value's angle, measured from straight up.
        const auto params = knob.getRotaryParameters();
        const auto angle = params.startAngleRadians + (float) value * (params.endAngleRadians - params.startAngleRadians);
        const auto along = [&] (float distance) { return juce::Point<float> (19.0f + distance * std::sin (angle), 20.0f - distance * std::cos (angle)).roundToInt(); };
        const auto opposite = [&] (float distance) { return juce::Point<float> (19.0f - distance * std::sin (angle), 20.0f + distance * std::cos (angle)).roundToInt(); };
        EXPECT_TRUE (isBright (image.getPixelAt (along (9.0f).x, along (9.0f).y)));
        EXPECT_TRUE (isEmpty (image.getPixelAt (opposite (9.0f).x, opposite (9.0f).y)));
    }
    knob.setLookAndFeel (nullptr);
}

TEST (LookAndFeels, SlotKnobIsAPurpleDiscWithARimAndATravellingDot)
{
    VariationKnobLookAndFeel style;
    juce::Slider knob (juce::Slider::RotaryHorizontalVerticalDrag, juce::Slider::NoTextBox);
    knob.setLookAndFeel (&style);
    knob.setRange (0.0, 1.0);
    knob.setSize (28, 28);

    for (const auto enabled : { true, false })
    {
        knob.setEnabled (enabled);
        knob.setValue (0.0);
        const auto image = snapshot (knob);
        const auto start = knob.getRotaryParameters().startAngleRadians - juce::MathConstants<float>::halfPi;

        // The dot sits 5 pixels from the centre (14, 14), the opposite side is disc.
        const auto dot = image.getPixelAt ((int) (14.0f + 5.0f * std::cos (start)), (int) (14.0f + 5.0f * std::sin (start)));
        EXPECT_TRUE (isBright (dot)) << dot.toDisplayString (true);
        EXPECT_TRUE (isClose (image.getPixelAt (juce::roundToInt (14.0f - 5.0f * std::cos (start)), juce::roundToInt (14.0f - 5.0f * std::sin (start))), accentPurple));
        EXPECT_TRUE (isBright (image.getPixelAt (14, 0)));  // the rim, from 0.5 to 1.5
        EXPECT_TRUE (isClose (image.getPixelAt (7, 14), accentPurple));
    }
    knob.setLookAndFeel (nullptr);
}

TEST (LookAndFeels, ChainSelectorLooksTheSameInEveryState)
{
    ChainSelectorLookAndFeel style;
    juce::TextButton button ("3");
    button.setLookAndFeel (&style);
    button.setColour (juce::TextButton::buttonColourId, accentPurple);
    button.setSize (38, 17);

    const auto idle = snapshot (button);
    EXPECT_TRUE (isClose (idle.getPixelAt (5, 8), accentPurple));
    EXPECT_TRUE (isWhite (idle.getPixelAt (0, 8)));

    juce::Image pressed (juce::Image::ARGB, 38, 17, true);
    {
        juce::Graphics g (pressed);
        style.drawButtonBackground (g, button, accentPurple, true, true);
    }
    juce::Image plain (juce::Image::ARGB, 38, 17, true);
    {
        juce::Graphics g (plain);
        style.drawButtonBackground (g, button, accentPurple, false, false);
    }
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 38; ++x)
            ASSERT_EQ (pressed.getPixelAt (x, y), plain.getPixelAt (x, y));
    button.setLookAndFeel (nullptr);
}

TEST (LookAndFeels, MenuColours)
{
    VariationDropdownLookAndFeel style;
    EXPECT_EQ (style.findColour (juce::PopupMenu::backgroundColourId), juce::Colours::white);
    EXPECT_EQ (style.findColour (juce::PopupMenu::textColourId), juce::Colours::black);
    EXPECT_EQ (style.findColour (juce::PopupMenu::highlightedBackgroundColourId), juce::Colours::lightgrey);
    EXPECT_EQ (style.findColour (juce::PopupMenu::highlightedTextColourId), juce::Colours::black);
}

//==============================================================================
TEST (EditorButtons, PageSwitchPlacesItsTextAndArrowByPage)
{
    PageSwitchButton button;
    button.setSize (124, 17);

    // "SEQUENCER" with the arrow after it, flush right: the tip of the arrow reaches the right edge.
    const auto right = snapshot (button);
    EXPECT_GT (drawnPixels (right, { 112, 0, 12, 17 }), 40);
    EXPECT_TRUE (isBright (right.getPixelAt (122, 8)));
    EXPECT_TRUE (isEmpty (right.getPixelAt (122, 2)));

    // "DASHBOARD" with the arrow before it, flush left.
    button.pageName = "DASHBOARD";
    button.pointsRight = false;
    const auto left = snapshot (button);
    EXPECT_GT (drawnPixels (left, { 0, 0, 12, 17 }), 40);
    EXPECT_TRUE (isBright (left.getPixelAt (1, 8)));   // the tip of the left-pointing arrow is at x 0
    EXPECT_TRUE (isEmpty (left.getPixelAt (1, 2)));

    // Any other name is centred.
    button.pageName = "MORE";
    const auto centred = snapshot (button);
    EXPECT_EQ (drawnPixels (centred, { 0, 0, 25, 17 }), 0);
    EXPECT_EQ (drawnPixels (centred, { 99, 0, 25, 17 }), 0);
    EXPECT_GT (drawnPixels (centred, { 40, 0, 44, 17 }), 40);
}

TEST (EditorButtons, BurgerDrawsThreeBarsAndButtonsRunTheirCallbacks)
{
    BurgerButton burger;
    burger.setSize (10, 10);
    const auto image = snapshot (burger);
    EXPECT_EQ (drawnPixels (image, { 0, 0, 1, 10 }), 0);   // bars 8 long, centred
    EXPECT_EQ (drawnPixels (image, { 9, 0, 1, 10 }), 0);
    EXPECT_GT (drawnPixels (image, { 1, 0, 8, 10 }), 3 * 8);

    // Without a callback a click does nothing; with one, it runs once per click.
    PageSwitchButton page;
    RewindButton rewind;
    burger.triggerClick();
    page.triggerClick();
    rewind.triggerClick();
    pumpMessages (20);

    int menus = 0, switches = 0, rewinds = 0;
    burger.onOpenMenu = [&menus] { ++menus; };
    page.onSwitch = [&switches] { ++switches; };
    rewind.onRewind = [&rewinds] { ++rewinds; };
    burger.triggerClick();
    page.triggerClick();
    rewind.triggerClick();
    pumpMessages (20);
    EXPECT_EQ (menus, 1);
    EXPECT_EQ (switches, 1);
    EXPECT_EQ (rewinds, 1);

    EXPECT_EQ (rewind.getNormalImage().getWidth(), 200);
    EXPECT_EQ (rewind.getMouseCursor(), juce::MouseCursor (juce::MouseCursor::PointingHandCursor));
    const juce::MouseEvent enter (juce::Desktop::getInstance().getMainMouseSource(), {}, {}, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                                  &burger, &burger, juce::Time(), {}, juce::Time(), 1, false);
    burger.mouseEnter (enter);
    EXPECT_EQ (burger.getMouseCursor(), juce::MouseCursor (juce::MouseCursor::PointingHandCursor));
    burger.mouseExit (enter);
    EXPECT_EQ (burger.getMouseCursor(), juce::MouseCursor());
}

//==============================================================================
TEST (EditorWindow, DashboardDrawsItsHeadingsAndVariationBoxes)
{
    PreparedProcessor p;
    auto editor = std::unique_ptr<juce::AudioProcessorEditor> (p.processor.createEditor());
    auto& window = dynamic_cast<TessalineAudioProcessorEditor&> (*editor);
    EXPECT_EQ (window.getWidth(), 800);
    EXPECT_EQ (window.getHeight(), 500);

    window.displayPlayback (3, 2);
    const auto image = snapshot (window);

    // Outlines in white on every box; only the playing variation's box is filled.
    const auto origin = [] (int v) { return TessalineAudioProcessorEditor::variationOrigins[(size_t) v]; };
    for (int v = 0; v < 8; ++v)
        EXPECT_TRUE (isBright (image.getPixelAt (origin (v).x, origin (v).y + 30))) << v;
    EXPECT_TRUE (isClose (image.getPixelAt (origin (2).x + 50, origin (2).y + 3), accentPurple, 2));
    EXPECT_FALSE (isClose (image.getPixelAt (origin (1).x + 50, origin (1).y + 3), accentPurple, 2));

    // "EFFECTS" turns grey when the effects are off.
    const auto headingHasWhite = [] (const juce::Image& picture)
    {
        for (int y = 300; y < 317; ++y)
            for (int x = 71; x < 140; ++x)
                if (isWhite (picture.getPixelAt (x, y)))
                    return true;
        return false;
    };
    EXPECT_TRUE (headingHasWhite (image));
    p.setParameter ("effectsOn", 0.49f);
    EXPECT_FALSE (headingHasWhite (snapshot (window)));
    p.setParameter ("effectsOn", 0.5f);
    EXPECT_TRUE (headingHasWhite (snapshot (window)));

    editor.reset();
}

TEST (EditorWindow, OpensOnTheStoredPageAndScalesItsPicture)
{
    PreparedProcessor p;
    p.processor.parameters.state.setProperty ("uiPageNum", 1, nullptr);
    auto editor = std::unique_ptr<juce::AudioProcessorEditor> (p.processor.createEditor());
    const auto image = snapshot (*editor);

    // No variation boxes on the sequencer page; the background is the sequencer picture at a quarter.
    const auto origin = TessalineAudioProcessorEditor::variationOrigins[0];
    EXPECT_FALSE (isBright (image.getPixelAt (origin.x, origin.y + 30)));

    const auto picture = juce::ImageCache::getFromMemory (BinaryData::sequencerBackground, BinaryData::sequencerBackgroundSize);
    ASSERT_EQ (picture.getWidth(), 3200);
    ASSERT_EQ (picture.getHeight(), 2000);
    for (const auto& [x, y] : { std::pair { 400, 440 }, std::pair { 5, 5 }, std::pair { 700, 250 } })
        EXPECT_TRUE (isClose (image.getPixelAt (x, y), picture.getPixelAt (x * 4 + 2, y * 4 + 2), 8)) << x << ", " << y;
    editor.reset();
}
