#include "Score.h"

#include <cmath>

int64_t stepStart(const SSound& sound, int64_t step) {
    const double sps = static_cast<double>(sound.samplesPerStep);
    if (sound.swing <= 0.0) return step * sound.samplesPerStep;
    const int64_t unit = sound.swingUnit;
    const int64_t pair = step / (2 * unit);
    const int64_t p = step % (2 * unit);
    const double longUnit = unit * sps * (1.0 + sound.swing);
    const double within = p < unit ? p * sps * (1.0 + sound.swing)
                                   : longUnit + (p - unit) * sps * (1.0 - sound.swing);
    return pair * 2 * unit * sound.samplesPerStep + std::llround(within);
}

namespace {

void collectMelody(const SSound& sound, const STrack& track, std::vector<SScoreNote>& notes) {
    const SInstrument& inst = sound.instruments[static_cast<size_t>(track.instrument)];
    bool open = false;
    SScoreNote note;
    note.instrument = track.instrument;
    auto close = [&](int64_t step) {
        if (!open) return;
        note.event.gateLength = stepStart(sound, step) - note.event.start;
        notes.push_back(note);
        open = false;
    };
    int64_t step = 0;
    for (const STrackEntry& entry : track.entries) {
        const SPattern& pattern = sound.patterns[static_cast<size_t>(entry.pattern)];
        for (int r = 0; r < entry.repeat; ++r) {
            for (const SStep& s : pattern.steps) {
                if (s.kind == SStep::EKind::Rest) close(step);
                if (s.kind == SStep::EKind::Note) {
                    const int midi = s.note + entry.transpose;
                    const bool legato =
                        open && inst.glide > 0.0 && s.chord.empty() && note.event.chord.empty();
                    if (legato) {
                        note.event.pitches.push_back(
                            {stepStart(sound, step) - note.event.start, midi});
                    } else {
                        close(step);
                        note.event = SNoteEvent{};
                        note.event.start = stepStart(sound, step);
                        note.event.pitches.push_back({0, midi});
                        note.event.chord = s.chord;
                        note.event.velocity = s.velocity;
                        open = true;
                    }
                }
                ++step;
            }
        }
    }
    close(step);
}

void collectBeats(const SSound& sound, const STrack& track, std::vector<SDrumHit>& hits) {
    int64_t step = 0;
    for (const STrackEntry& entry : track.entries) {
        const SPattern& pattern = sound.patterns[static_cast<size_t>(entry.pattern)];
        for (int r = 0; r < entry.repeat; ++r) {
            for (int i = 0; i < pattern.length; ++i, ++step)
                for (const SLane& lane : pattern.lanes)
                    if (lane.hits[static_cast<size_t>(i)] > 0.0)
                        hits.push_back(
                            {stepStart(sound, step), lane.drum, lane.hits[static_cast<size_t>(i)]});
        }
    }
}

}  // namespace

void collectScore(const SSound& sound, std::vector<SScoreNote>& notes,
                  std::vector<SDrumHit>& hits) {
    for (const STrack& track : sound.tracks) {
        if (track.instrument < 0)
            collectBeats(sound, track, hits);
        else
            collectMelody(sound, track, notes);
    }
}
