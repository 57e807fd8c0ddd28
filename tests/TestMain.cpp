#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

int main (int argc, char** argv)
{
    // Message manager and timers for the code under test; the tests pump the loop themselves.
    const juce::ScopedJuceInitialiser_GUI juce;
    testing::InitGoogleTest (&argc, argv);
    return RUN_ALL_TESTS();
}
