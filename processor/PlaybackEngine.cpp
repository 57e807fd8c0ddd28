#include "processor/PlaybackEngine.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace
{
    // Below this peak on channel 0, a variation whose slots have all ended has died away.
    constexpr float silencePeak = 0.00001f;

    // The note that plays the main sample at its own speed.
    constexpr int rootNote = 24;

    // Adds `numSamples` samples of a ring buffer channel, starting at `readPos`, into `destination`.
    void addFromRing (float* destination, const float* ring, int ringLength, int readPos, int numSamples) noexcept
    {
        const auto first = juce::jmin (numSamples, ringLength - readPos);
        juce::FloatVectorOperations::add (destination, ring + readPos, first);
        juce::FloatVectorOperations::add (destination + first, ring, numSamples - first);
    }

    // Writes `numSamples` samples into a ring buffer channel starting at `writePos`.
    void writeToRing (float* ring, int ringLength, int writePos, const float* source, int numSamples) noexcept
    {
        const auto first = juce::jmin (numSamples, ringLength - writePos);
        juce::FloatVectorOperations::copy (ring + writePos, source, first);
        juce::FloatVectorOperations::copy (ring, source + first, numSamples - first);
    }
}

PlaybackEngine::PlaybackEngine (juce::AudioProcessorValueTreeState& parameters, SampleSlots& samplesToPlay,
                                StepCursor& stepCursor, TriggerQueue& triggerQueue)
    : samples (samplesToPlay),
      cursor (stepCursor),
      triggers (triggerQueue),
      inputDb (parameters.getRawParameterValue (Parameters::input)),
      mixPercent (parameters.getRawParameterValue (Parameters::mix)),
      outputDb (parameters.getRawParameterValue (Parameters::output)),
      effectsOn (parameters.getRawParameterValue (Parameters::effectsOn))
{
    for (int n = 0; n < Parameters::numSounds; ++n)
        soundParameters.emplace_back (parameters, n);

    for (int v = 0; v < Parameters::numVariations; ++v)
        for (int s = 0; s < Parameters::slotsPerVariation; ++s)
            slotVolumeDb[(size_t) v][(size_t) s] = parameters.getRawParameterValue (Parameters::slotVolumeId (v, s));

    fill (slotReadPositions, -1);
    fill (slotStartOffsets, 0);
}

void PlaybackEngine::prepare (double sampleRate, int numChannels, int maximumBlockSize)
{
    preparedChannels = juce::jmax (0, numChannels);
    preparedBlockSize = juce::jmax (0, maximumBlockSize);

    for (auto& rack : racks)
        rack.prepare ({ sampleRate, (juce::uint32) preparedBlockSize, (juce::uint32) preparedChannels });

    // The main sample's dry path is delayed by the pitch shifter's priming, taken once here, so
    // that it stays aligned with the shifted variations.
    const auto* shifter = racks[0].pitch.getShifter();
    latencySamples = shifter != nullptr ? (int) juce::jmin ((size_t) shifter->getSampleRate() / 2, shifter->getPrimeLength()) : 0;

    mainVoiceBus.setSize (preparedChannels, preparedBlockSize);
    wetSum.setSize (preparedChannels, preparedBlockSize);
    variationWorkBuffer.setSize (preparedChannels, preparedBlockSize);

    dryDelayLine.setSize (preparedChannels, latencySamples + preparedBlockSize);
    dryDelayLine.clear();
    dryDelayWritePos = 0;

    variationActive.fill (false);
}

void PlaybackEngine::process (juce::AudioBuffer<float>& buffer, const juce::MidiBuffer& midi) noexcept
{
    takeUpRequests();

    const Gains gains { Parameters::decibelsToGain (inputDb->load()),
                        Parameters::decibelsToGain (outputDb->load()),
                        Parameters::mixFactor (mixPercent->load()) };

    buffer.clear();

    if (preparedBlockSize == 0)
        return;

    applyEffectsSwitch();

    const auto numChannels = juce::jmin (buffer.getNumChannels(), preparedChannels);
    const auto numSamples = buffer.getNumSamples();

    int start = 0;
    do
    {
        const auto length = juce::jmin (preparedBlockSize, numSamples - start);
        const auto isFirst = start == 0;
        const auto isLast = start + length >= numSamples;

        // Events outside the block's range belong to its first or last piece.
        handleMidi (midi, isFirst ? INT_MIN : start, isLast ? INT_MAX : start + length);

        juce::AudioBuffer<float> piece (buffer.getArrayOfWritePointers(), numChannels, start, length);
        renderPiece (piece, numChannels, gains);
        start += length;
    }
    while (start < numSamples);
}

void PlaybackEngine::applyEffectsSwitch() noexcept
{
    racksOn = Parameters::isSwitchOn (effectsOn->load());

    // Switching the effects off clears every rack, so that no old tail sounds when they return.
    if (! racksOn && previousEffectsOn)
        for (auto& rack : racks)
            rack.reset();

    previousEffectsOn = racksOn;
}

void PlaybackEngine::takeUpRequests() noexcept
{
    samples.main().acquire();

    for (int v = 0; v < Parameters::numVariations; ++v)
        for (int s = 0; s < Parameters::slotsPerVariation; ++s)
            if (samples.slot (v, s).acquire())
                slotReadPositions[(size_t) v][(size_t) s] = -1;

    if (startOffsetsClearRequested.exchange (false))
        fill (slotStartOffsets, 0);

    if (rewindRequested.exchange (false))
    {
        mainVoice.releaseRequested = true;
        lastNote = -1;
        lastStep = -1;
        lastVariation = -1;
        fill (slotReadPositions, -1);
        fill (slotStartOffsets, 0);
        variationActive.fill (false);
    }
}

void PlaybackEngine::handleMidi (const juce::MidiBuffer& midi, int pieceStart, int pieceEnd) noexcept
{
    for (const auto event : midi)
    {
        if (event.samplePosition < pieceStart || event.samplePosition >= pieceEnd || event.numBytes < 3)
            continue;

        const auto status = event.data[0] & 0xf0;
        const auto note = (int) event.data[1];
        const auto velocity = event.data[2];

        if (status == 0x80 || (status == 0x90 && velocity == 0))
        {
            if (note == lastNote.load (std::memory_order_relaxed))
                mainVoice.releaseRequested = true;
        }
        else if (status == 0x90)
        {
            trigger (note, juce::jmax (0, event.samplePosition - juce::jmax (0, pieceStart)));
        }
    }
}

void PlaybackEngine::trigger (int note, int startOffset) noexcept
{
    const auto step = cursor.advance();
    const auto padValue = cursor.padValue (step);

    // A step without a pad, or with a value outside 1..8, names no variation.
    const auto variation = juce::isPositiveAndNotGreaterThan (padValue - 1, Parameters::numVariations - 1) ? padValue - 1 : -1;

    if (variation >= 0)
    {
        for (int s = 0; s < Parameters::slotsPerVariation; ++s)
        {
            const auto* slot = samples.slot (variation, s).current();
            if (slot != nullptr && slot->getNumSamples() > 0)
            {
                slotReadPositions[(size_t) variation][(size_t) s] = 0;
                slotStartOffsets[(size_t) variation][(size_t) s] = startOffset;
            }
        }
    }

    lastNote = note;
    lastStep = step;
    lastVariation = variation;
    playbackCounter.fetch_add (1);
    triggers.push ({ step, variation });

    if (samples.main().current() != nullptr)
    {
        mainVoice.position = 0.0;
        mainVoice.rate = std::pow (2.0, (note - rootNote) / 12.0);
        mainVoice.startOffset = startOffset;
        mainVoice.playing = true;
        mainVoice.releaseRequested = false;
    }

    if (variation >= 0)
    {
        variationActive[(size_t) variation] = true;
        silentSamples[(size_t) variation] = 0;
    }
}

void PlaybackEngine::renderPiece (juce::AudioBuffer<float>& output, int numChannels, const Gains& gains) noexcept
{
    const auto numSamples = output.getNumSamples();

    renderMainVoice (numSamples);
    mainVoiceBus.applyGain (0, numSamples, gains.input);

    renderVariations (numChannels, numSamples);

    addDelayedDry (output, numChannels);

    for (int ch = 0; ch < numChannels; ++ch)
        output.addFrom (ch, 0, wetSum, ch, 0, numSamples, gains.mix);

    output.applyGain (gains.output);
}

void PlaybackEngine::renderMainVoice (int numSamples) noexcept
{
    mainVoiceBus.clear (0, numSamples);

    const auto* sample = samples.main().current();
    if (! mainVoice.playing || sample == nullptr)
        return;

    int skip = 0;
    if (mainVoice.startOffset > 0)
    {
        skip = juce::jmin (numSamples, mainVoice.startOffset);
        mainVoice.startOffset -= skip;

        if (skip == numSamples)
            return;
    }

    const auto sourceLength = sample->getNumSamples();
    const auto sourceChannels = sample->getNumChannels();
    const auto busChannels = sourceChannels > 0 ? mainVoiceBus.getNumChannels() : 0;

    for (int i = skip; i < numSamples; ++i)
    {
        if (mainVoice.position >= (double) sourceLength)
        {
            mainVoice.playing = false;
            break;
        }

        const auto index = (int) mainVoice.position;
        const auto frac = (float) (mainVoice.position - index);

        for (int c = 0; c < busChannels; ++c)
        {
            // A mono sample feeds every channel; a stereo sample on a mono bus only its left one.
            const auto* source = sample->getReadPointer (c % sourceChannels);
            const auto a = source[index];
            const auto b = index + 1 < sourceLength ? source[index + 1] : 0.0f;
            mainVoiceBus.addSample (c, i, a + frac * (b - a));
        }

        mainVoice.position += mainVoice.rate;
    }

    // A note-off cuts the voice at the end of the block in which it arrived.
    if (mainVoice.releaseRequested)
    {
        mainVoice.playing = false;
        mainVoice.releaseRequested = false;
    }
}

void PlaybackEngine::renderVariations (int numChannels, int numSamples) noexcept
{
    wetSum.clear (0, numSamples);

    for (int v = 0; v < Parameters::numVariations; ++v)
    {
        if (! variationActive[(size_t) v])
            continue;

        juce::AudioBuffer<float> work (variationWorkBuffer.getArrayOfWritePointers(), numChannels, numSamples);
        work.clear();

        renderSlots (v, work);

        if (racksOn)
        {
            racks[(size_t) v].updateFromTree (soundParameters[(size_t) v]);
            racks[(size_t) v].process (work);
        }

        for (int ch = 0; ch < numChannels; ++ch)
            wetSum.addFrom (ch, 0, work, ch, 0, numSamples);

        const auto& positions = slotReadPositions[(size_t) v];
        const auto slotsEnded = std::all_of (positions.begin(), positions.end(), [] (int p) { return p < 0; });
        const auto peak = numChannels > 0 ? work.getMagnitude (0, 0, numSamples) : 0.0f;

        // A variation ends when its slots have ended and it has been silent for longer than its
        // rack could hold sound back (an echo longer than the sound, the shifter's priming).
        auto& silent = silentSamples[(size_t) v];
        silent = slotsEnded && peak < silencePeak ? silent + numSamples : 0;

        if (silent > 0 && silent > (racksOn ? racks[(size_t) v].getTailSamples() : 0))
            variationActive[(size_t) v] = false;
    }
}

void PlaybackEngine::renderSlots (int variation, juce::AudioBuffer<float>& work) noexcept
{
    const auto numSamples = work.getNumSamples();

    for (int s = 0; s < Parameters::slotsPerVariation; ++s)
    {
        const auto* slot = samples.slot (variation, s).current();
        auto& position = slotReadPositions[(size_t) variation][(size_t) s];
        auto& offset = slotStartOffsets[(size_t) variation][(size_t) s];

        if (slot == nullptr || slot->getNumSamples() == 0 || position < 0)
            continue;

        int skip = 0;
        if (offset > 0)
        {
            skip = juce::jmin (numSamples, offset);
            offset -= skip;

            if (skip == numSamples)
                continue;
        }

        const auto length = slot->getNumSamples();
        const auto count = juce::jmin (length - position, numSamples - skip);
        if (count <= 0)
        {
            position = -1;
            continue;
        }

        const auto gain = Parameters::decibelsToGain (slotVolumeDb[(size_t) variation][(size_t) s]->load());

        for (int ch = 0; ch < juce::jmin (slot->getNumChannels(), work.getNumChannels()); ++ch)
            work.addFrom (ch, skip, *slot, ch, position, count, gain);

        position += count;
        if (position >= length)
            position = -1;
    }
}

void PlaybackEngine::addDelayedDry (juce::AudioBuffer<float>& output, int numChannels) noexcept
{
    const auto numSamples = output.getNumSamples();
    const auto ringLength = dryDelayLine.getNumSamples();
    const auto readPos = (dryDelayWritePos - latencySamples + ringLength) % ringLength;

    for (int ch = 0; ch < numChannels; ++ch)
    {
        writeToRing (dryDelayLine.getWritePointer (ch), ringLength, dryDelayWritePos, mainVoiceBus.getReadPointer (ch), numSamples);
        addFromRing (output.getWritePointer (ch), dryDelayLine.getReadPointer (ch), ringLength, readPos, numSamples);
    }

    dryDelayWritePos = (dryDelayWritePos + numSamples) % ringLength;
}
