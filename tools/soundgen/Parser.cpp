#include "Parser.h"

#include <cmath>
#include <cstdlib>
#include <map>
#include <sstream>

#include "DetMath.h"
#include "SoundFormat.h"

namespace {

// Ten minutes: far beyond any sound of the bank, and it keeps a mistyped number from asking
// for gigabytes.
constexpr double kLongestSeconds = 600.0;

std::vector<std::string> splitWords(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    std::string w;
    while (in >> w) words.push_back(w);
    return words;
}

// A '#' starts a comment at the start of a line or after a blank; inside a word it is a sharp.
std::string stripComment(const std::string& line) {
    for (size_t i = 0; i < line.size(); ++i)
        if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t'))
            return line.substr(0, i);
    return line;
}

bool parseNumber(const std::string& s, double& v) {
    if (s.empty()) return false;
    char* end = nullptr;
    v = std::strtod(s.c_str(), &end);
    return end == s.c_str() + s.size() && std::isfinite(v);
}

bool parseInt(const std::string& s, int& v) {
    double d = 0.0;
    if (!parseNumber(s, d) || d != std::floor(d) || std::fabs(d) > 1e9) return false;
    v = static_cast<int>(d);
    return true;
}

const std::map<std::string, std::vector<int>>& chordTable() {
    static const std::map<std::string, std::vector<int>> table = {
        {"M", {0, 4, 7}},      {"m", {0, 3, 7}},      {"5", {0, 7, 12}},   {"7", {0, 4, 7, 10}},
        {"m7", {0, 3, 7, 10}}, {"M7", {0, 4, 7, 11}}, {"sus2", {0, 2, 7}}, {"sus4", {0, 5, 7}},
        {"dim", {0, 3, 6}},    {"aug", {0, 4, 8}},    {"o", {0, 12}},      {"M9", {0, 4, 7, 14}},
    };
    return table;
}

class CParser {
public:
    CParser(const std::string& file, SSound& sound) : file_(file), sound_(sound) {}

    bool run(const std::string& text) {
        std::istringstream in(text);
        std::string raw;
        while (std::getline(in, raw)) {
            ++lineNo_;
            lines_.push_back({lineNo_, splitWords(stripComment(raw))});
        }
        while (pos_ < lines_.size() && error_.empty()) {
            const auto& [line, words] = lines_[pos_++];
            current_ = line;
            if (!words.empty()) topLevel(words);
        }
        if (error_.empty()) finish();
        return error_.empty();
    }

    const std::string& error() const { return error_; }

private:
    struct SLine {
        int number;
        std::vector<std::string> words;
    };

    std::string file_;
    SSound& sound_;
    std::vector<SLine> lines_;
    size_t pos_ = 0;
    int lineNo_ = 0;
    int current_ = 0;
    std::string error_;
    bool meterUsed_ = false;

    bool fail(const std::string& why) {
        if (error_.empty()) error_ = file_ + ":" + std::to_string(current_) + ": " + why;
        return false;
    }

    // Arguments ------------------------------------------------------------------------------

    bool number(const std::vector<std::string>& w, size_t i, double& v, double lo, double hi) {
        if (i >= w.size()) return fail("'" + w[0] + "' needs more values");
        if (!parseNumber(w[i], v)) return fail("'" + w[i] + "' is not a number");
        if (v < lo || v > hi)
            return fail("'" + w[0] + "' value " + w[i] + " is outside " + fmt(lo) + ".." + fmt(hi));
        return true;
    }

    bool integer(const std::vector<std::string>& w, size_t i, int& v, int lo, int hi) {
        double d = 0.0;
        if (!number(w, i, d, lo, hi)) return false;
        if (d != std::floor(d)) return fail("'" + w[i] + "' is not a whole number");
        v = static_cast<int>(d);
        return true;
    }

    bool count(const std::vector<std::string>& w, size_t lo, size_t hi) {
        if (w.size() - 1 < lo || w.size() - 1 > hi)
            return fail(
                "'" + w[0] + "' takes " +
                (lo == hi ? std::to_string(lo) : std::to_string(lo) + " to " + std::to_string(hi)) +
                " values");
        return true;
    }

    static std::string fmt(double v) {
        std::ostringstream s;
        s << v;
        return s.str();
    }

    bool wave(const std::string& s, EWave& w) {
        static const std::map<std::string, EWave> names = {
            {"sine", EWave::Sine},   {"triangle", EWave::Triangle}, {"saw", EWave::Saw},
            {"pulse", EWave::Pulse}, {"square", EWave::Pulse},      {"noise", EWave::Noise}};
        const auto it = names.find(s);
        if (it == names.end()) return fail("unknown wave '" + s + "'");
        w = it->second;
        return true;
    }

    bool filterType(const std::string& s, EFilter& f) {
        static const std::map<std::string, EFilter> names = {{"lowpass", EFilter::Lowpass},
                                                             {"highpass", EFilter::Highpass},
                                                             {"bandpass", EFilter::Bandpass}};
        const auto it = names.find(s);
        if (it == names.end()) return fail("unknown filter '" + s + "'");
        f = it->second;
        return true;
    }

    // A time: "0.2" or "0.2s" in seconds, "150ms", or "3st" in steps of the score.
    bool duration(const std::string& s, double& seconds) {
        double scale = 1.0;
        std::string n = s;
        if (n.size() > 2 && n.compare(n.size() - 2, 2, "ms") == 0) {
            scale = 0.001;
            n.resize(n.size() - 2);
        } else if (n.size() > 2 && n.compare(n.size() - 2, 2, "st") == 0) {
            meterUsed_ = true;
            scale = 60.0 / (sound_.tempo * sound_.stepsPerBeat);
            n.resize(n.size() - 2);
        } else if (n.size() > 1 && n.back() == 's') {
            n.pop_back();
        }
        if (!parseNumber(n, seconds) || seconds < 0.0) return fail("'" + s + "' is not a time");
        seconds *= scale;
        if (seconds > kLongestSeconds) return fail("'" + s + "' is longer than any sound may be");
        return true;
    }

    // "[exp|lin|step] t v, t v, ..." or a single constant value. Values may be note names
    // when `notes` is set (they become Hz).
    bool curve(const std::vector<std::string>& w, size_t first, SCurve& c, SCurve::EShape shape,
               bool notes) {
        c = SCurve{};
        c.shape = shape;
        size_t i = first;
        if (i < w.size() && (w[i] == "exp" || w[i] == "lin" || w[i] == "step")) {
            c.shape = w[i] == "exp"
                          ? SCurve::EShape::Exponential
                          : (w[i] == "lin" ? SCurve::EShape::Linear : SCurve::EShape::Step);
            ++i;
        }
        std::string rest;
        for (; i < w.size(); ++i) rest += w[i] + " ";
        std::vector<std::string> groups;
        std::string group;
        for (char ch : rest) {
            if (ch == ',') {
                groups.push_back(group);
                group.clear();
            } else {
                group += ch;
            }
        }
        groups.push_back(group);
        auto value = [&](const std::string& s, double& v) {
            int midi = 0;
            if (notes && parseNoteName(s, midi)) {
                v = det::noteToHz(midi);
                return true;
            }
            if (!parseNumber(s, v)) return fail("'" + s + "' is not a number");
            return true;
        };
        const auto parts0 = splitWords(groups[0]);
        if (groups.size() == 1 && parts0.size() == 1) {
            double v = 0.0;
            if (!value(parts0[0], v)) return false;
            c.points.push_back({0.0, v});
            return true;
        }
        for (const auto& g : groups) {
            const auto parts = splitWords(g);
            if (parts.size() != 2)
                return fail("'" + w[0] + "' wants pairs of time and value, comma-separated");
            double t = 0.0, v = 0.0;
            if (!duration(parts[0], t) || !value(parts[1], v)) return false;
            if (!c.points.empty() && t <= c.points.back().first)
                return fail("'" + w[0] + "' times must increase");
            c.points.push_back({t, v});
        }
        return true;
    }

    // Blocks --------------------------------------------------------------------------------

    // The lines of a block up to its "end".
    bool blockLines(std::vector<SLine>& body) {
        const int opened = current_;
        int depth = 0;
        while (pos_ < lines_.size()) {
            const SLine& l = lines_[pos_++];
            current_ = l.number;
            if (l.words.empty()) continue;
            if (l.words[0] == "end" && depth == 0) return true;
            if (l.words[0] == "end") --depth;
            if (l.words[0] == "layer") ++depth;
            body.push_back(l);
        }
        current_ = opened;
        return fail("block has no 'end'");
    }

    void topLevel(const std::vector<std::string>& w) {
        const std::string& key = w[0];
        if (key == "title") {
            for (size_t i = 1; i < w.size(); ++i) sound_.title += (i > 1 ? " " : "") + w[i];
        } else if (key == "loop") {
            if (count(w, 0, 0)) sound_.loop = true;
        } else if (key == "length") {
            int v = 0;
            if (count(w, 1, 1) && integer(w, 1, v, 1, static_cast<int>(kLongestSeconds * kRate)))
                sound_.length = v;
        } else if (key == "peak") {
            if (count(w, 1, 1)) number(w, 1, sound_.peakDb, -60.0, -0.5);
        } else if (key == "tempo") {
            if (meterUsed_) {
                fail("'tempo' must come before anything that counts in steps");
            } else if (count(w, 1, 1)) {
                number(w, 1, sound_.tempo, 20.0, 400.0);
            }
        } else if (key == "meter") {
            // steps per beat, beats per bar
            if (meterUsed_) {
                fail("'meter' must come before the patterns");
            } else if (count(w, 2, 2) && integer(w, 1, sound_.stepsPerBeat, 1, 16)) {
                integer(w, 2, sound_.beatsPerBar, 1, 16);
            }
        } else if (key == "bars") {
            if (count(w, 1, 1)) integer(w, 1, sound_.bars, 1, 256);
        } else if (key == "swing") {
            if (count(w, 1, 2) && number(w, 1, sound_.swing, 0.0, 0.5) && w.size() == 3)
                integer(w, 2, sound_.swingUnit, 1, 8);
        } else if (key == "echo") {
            if (count(w, 3, 4) && duration(w[1], sound_.echo.delay) &&
                number(w, 2, sound_.echo.feedback, 0.0, 0.95) &&
                number(w, 3, sound_.echo.wet, 0.0, 2.0) && w.size() == 5)
                number(w, 4, sound_.echo.damp, 100.0, 10000.0);
            if (error_.empty() && (sound_.echo.delay * kRate < 1.0 || sound_.echo.delay > 10.0))
                fail("the echo's delay must be from a sample to 10 s");
        } else if (key == "reverb") {
            if (count(w, 2, 3) && number(w, 1, sound_.reverb.size, 0.0, 1.0) &&
                number(w, 2, sound_.reverb.wet, 0.0, 2.0) && w.size() == 4)
                number(w, 3, sound_.reverb.damp, 0.0, 1.0);
        } else if (key == "drive") {
            if (count(w, 1, 1)) number(w, 1, sound_.drive, 0.0, 20.0);
        } else if (key == "instrument") {
            instrument(w);
        } else if (key == "drum") {
            drum(w);
        } else if (key == "layer") {
            SLayer l;
            std::vector<SLine> body;
            const int opened = current_;
            if (count(w, 0, 0) && blockLines(body) && layer(body, opened, l))
                sound_.layers.push_back(l);
        } else if (key == "pattern" || key == "beat") {
            pattern(w, key == "beat");
        } else if (key == "track") {
            track(w);
        } else {
            fail("unknown statement '" + key + "'");
        }
    }

    bool nameFree(const std::vector<std::string>& w) {
        if (!count(w, 1, 1)) return false;
        for (const auto& i : sound_.instruments)
            if (i.name == w[1]) return fail("'" + w[1] + "' is defined twice");
        for (const auto& d : sound_.drums)
            if (d.name == w[1]) return fail("'" + w[1] + "' is defined twice");
        for (const auto& p : sound_.patterns)
            if (p.name == w[1]) return fail("'" + w[1] + "' is defined twice");
        if (w[1] == "drums") return fail("'drums' is the name of the drum track");
        return true;
    }

    // The settings of a layer block (without its 'layer' and 'end' lines).
    bool layer(const std::vector<SLine>& body, int opened, SLayer& l) {
        l.line = opened;
        for (const auto& [number_, w] : body) {
            current_ = number_;
            const std::string& k = w[0];
            bool ok = true;
            if (k == "start") {
                ok = count(w, 1, 1) && duration(w[1], l.start);
            } else if (k == "wave") {
                ok = count(w, 1, 1) && wave(w[1], l.wave);
            } else if (k == "pitch") {
                ok = curve(w, 1, l.pitch, SCurve::EShape::Exponential, true);
            } else if (k == "duty") {
                ok = curve(w, 1, l.duty, SCurve::EShape::Linear, false);
            } else if (k == "amp") {
                ok = curve(w, 1, l.amp, SCurve::EShape::Linear, false);
            } else if (k == "curve") {
                ok = count(w, 1, 1) && number(w, 1, l.curve, 0.1, 8.0);
            } else if (k == "detune") {
                ok = count(w, 1, 1) && number(w, 1, l.detune, -1200.0, 1200.0);
            } else if (k == "vibrato") {
                ok = count(w, 2, 2) && number(w, 1, l.vibratoRate, 0.0, 100.0) &&
                     number(w, 2, l.vibratoDepth, -24.0, 24.0);
            } else if (k == "tremolo") {
                ok = count(w, 2, 2) && number(w, 1, l.tremoloRate, 0.0, 200.0) &&
                     number(w, 2, l.tremoloDepth, 0.0, 1.0);
            } else if (k == "fm") {
                ok = w.size() >= 3 && number(w, 1, l.fmRatio, 0.01, 32.0) &&
                     curve(w, 2, l.fmIndex, SCurve::EShape::Linear, false);
                if (w.size() < 3) ok = fail("'fm' takes a ratio and an index curve");
            } else if (k == "filter") {
                ok = w.size() >= 4 && filterType(w[1], l.filter) && number(w, 2, l.q, 0.3, 30.0) &&
                     curve(w, 3, l.cutoff, SCurve::EShape::Exponential, false);
                if (w.size() < 4) ok = fail("'filter' takes a type, a q and a cutoff curve");
            } else if (k == "drive") {
                ok = count(w, 1, 1) && number(w, 1, l.drive, 0.0, 50.0);
            } else if (k == "crush") {
                ok = count(w, 1, 1) && number(w, 1, l.crush, 0.0, kRate);
            } else if (k == "gain") {
                ok = count(w, 1, 1) && number(w, 1, l.gain, 0.0, 10.0);
            } else if (k == "echo") {
                ok = count(w, 1, 1) && number(w, 1, l.echo, 0.0, 4.0);
            } else if (k == "reverb") {
                ok = count(w, 1, 1) && number(w, 1, l.reverb, 0.0, 4.0);
            } else if (k == "seed") {
                int s = 0;
                ok = count(w, 1, 1) && integer(w, 1, s, 1, 1'000'000);
                l.seed = static_cast<uint32_t>(s);
            } else {
                ok = fail("unknown layer setting '" + k + "'");
            }
            if (!ok) return false;
        }
        current_ = l.line;
        if (l.amp.empty() || l.amp.endTime() <= 0.0)
            return fail("layer needs an 'amp' curve over time");
        if (l.wave != EWave::Noise && l.pitch.empty()) return fail("layer needs a 'pitch'");
        return true;
    }

    void instrument(const std::vector<std::string>& head) {
        if (!nameFree(head)) return;
        SInstrument in;
        in.name = head[1];
        in.line = current_;
        std::vector<SLine> body;
        if (!blockLines(body)) return;
        for (const auto& [number_, w] : body) {
            current_ = number_;
            const std::string& k = w[0];
            bool ok = true;
            if (k == "wave") {
                ok = count(w, 1, 2) && wave(w[1], in.wave) &&
                     (w.size() < 3 || number(w, 2, in.duty, 0.01, 0.99));
            } else if (k == "pwm") {
                ok = count(w, 2, 2) && number(w, 1, in.pwmRate, 0.0, 50.0) &&
                     number(w, 2, in.pwmDepth, 0.0, 0.49);
            } else if (k == "osc2") {
                ok = count(w, 2, 4) && wave(w[1], in.wave2) &&
                     number(w, 2, in.osc2Level, 0.0, 4.0) &&
                     (w.size() < 4 || number(w, 3, in.detune, -1200.0, 1200.0)) &&
                     (w.size() < 5 || integer(w, 4, in.osc2Octave, -3, 3));
            } else if (k == "sub") {
                ok = count(w, 1, 1) && number(w, 1, in.subLevel, 0.0, 4.0);
            } else if (k == "noise") {
                ok = count(w, 1, 1) && number(w, 1, in.noiseLevel, 0.0, 4.0);
            } else if (k == "env") {
                ok = count(w, 4, 4) && number(w, 1, in.attack, 0.0, 10.0) &&
                     number(w, 2, in.decay, 0.001, 60.0) && number(w, 3, in.sustain, 0.0, 1.0) &&
                     number(w, 4, in.release, 0.001, 20.0);
            } else if (k == "filter") {
                ok = count(w, 2, 3) && filterType(w[1], in.filter) &&
                     number(w, 2, in.cutoff, 10.0, 11000.0) &&
                     (w.size() < 4 || number(w, 3, in.q, 0.3, 30.0));
            } else if (k == "filterenv") {
                ok = count(w, 2, 2) && number(w, 1, in.filterEnv, -8.0, 8.0) &&
                     number(w, 2, in.filterDecay, 0.001, 20.0);
            } else if (k == "keytrack") {
                ok = count(w, 1, 1) && number(w, 1, in.keytrack, 0.0, 1.0);
            } else if (k == "vibrato") {
                ok = count(w, 2, 3) && number(w, 1, in.vibratoRate, 0.0, 50.0) &&
                     number(w, 2, in.vibratoDepth, 0.0, 12.0) &&
                     (w.size() < 4 || duration(w[3], in.vibratoDelay));
            } else if (k == "glide") {
                ok = count(w, 1, 1) && duration(w[1], in.glide);
            } else if (k == "punch") {
                ok = count(w, 2, 2) && number(w, 1, in.punch, -48.0, 48.0) &&
                     duration(w[2], in.punchTime);
            } else if (k == "arp") {
                ok = count(w, 1, 3) && number(w, 1, in.arpRate, 0.0, 16.0);
                for (size_t i = 2; ok && i < w.size(); ++i) {
                    if (w[i] == "up")
                        in.arpMode = EArp::Up;
                    else if (w[i] == "down")
                        in.arpMode = EArp::Down;
                    else if (w[i] == "updown")
                        in.arpMode = EArp::UpDown;
                    else if (w[i] == "pluck")
                        in.arpPluck = true;
                    else
                        ok = fail("unknown arpeggio setting '" + w[i] + "'");
                }
            } else if (k == "gate") {
                ok = count(w, 1, 1) && number(w, 1, in.gate, 0.05, 1.0);
            } else if (k == "octave") {
                ok = count(w, 1, 1) && integer(w, 1, in.octave, -4, 4);
            } else if (k == "drive") {
                ok = count(w, 1, 1) && number(w, 1, in.drive, 0.0, 50.0);
            } else if (k == "gain") {
                ok = count(w, 1, 1) && number(w, 1, in.gain, 0.0, 10.0);
            } else if (k == "echo") {
                ok = count(w, 1, 1) && number(w, 1, in.echo, 0.0, 4.0);
            } else if (k == "reverb") {
                ok = count(w, 1, 1) && number(w, 1, in.reverb, 0.0, 4.0);
            } else {
                ok = fail("unknown instrument setting '" + k + "'");
            }
            if (!ok) return;
        }
        sound_.instruments.push_back(in);
    }

    void drum(const std::vector<std::string>& head) {
        if (!nameFree(head)) return;
        SDrum d;
        d.name = head[1];
        d.line = current_;
        std::vector<SLine> body;
        if (!blockLines(body)) return;
        for (size_t i = 0; i < body.size(); ++i) {
            current_ = body[i].number;
            const auto& w = body[i].words;
            if (w[0] == "layer") {
                // The nested block runs to its own 'end'.
                const int opened = current_;
                std::vector<SLine> inner;
                for (++i; i < body.size() && body[i].words[0] != "end"; ++i)
                    inner.push_back(body[i]);
                SLayer l;
                if (i == body.size()) return static_cast<void>(fail("layer has no 'end'"));
                if (!layer(inner, opened, l)) return;
                d.layers.push_back(l);
                continue;
            }
            bool ok = true;
            if (w[0] == "gain")
                ok = count(w, 1, 1) && number(w, 1, d.gain, 0.0, 10.0);
            else if (w[0] == "echo")
                ok = count(w, 1, 1) && number(w, 1, d.echo, 0.0, 4.0);
            else if (w[0] == "reverb")
                ok = count(w, 1, 1) && number(w, 1, d.reverb, 0.0, 4.0);
            else
                ok = fail("unknown drum setting '" + w[0] + "'");
            if (!ok) return;
        }
        current_ = d.line;
        if (d.layers.empty()) {
            fail("drum '" + d.name + "' has no layer");
            return;
        }
        sound_.drums.push_back(d);
    }

    // "A4", "C#5!", "Bb3?", "D4:m", "-", "."
    bool step(const std::string& token, SStep& s) {
        if (token == "-") {
            s.kind = SStep::EKind::Hold;
            return true;
        }
        if (token == ".") {
            s.kind = SStep::EKind::Rest;
            return true;
        }
        std::string t = token;
        s.kind = SStep::EKind::Note;
        if (t.back() == '!') {
            s.velocity = 1.0;
            t.pop_back();
        } else if (t.back() == '?') {
            s.velocity = 0.55;
            t.pop_back();
        }
        const size_t colon = t.find(':');
        if (colon != std::string::npos) {
            const auto it = chordTable().find(t.substr(colon + 1));
            if (it == chordTable().end()) return fail("unknown chord in '" + token + "'");
            s.chord = it->second;
            t.resize(colon);
        }
        if (!parseNoteName(t, s.note)) return fail("'" + token + "' is not a note, '-' or '.'");
        return true;
    }

    void pattern(const std::vector<std::string>& head, bool isBeat) {
        if (!nameFree(head)) return;
        meterUsed_ = true;
        SPattern p;
        p.name = head[1];
        p.isBeat = isBeat;
        p.line = current_;
        std::vector<SLine> body;
        if (!blockLines(body)) return;
        const int bar = sound_.stepsPerBar();
        auto barError = [&](int got) {
            return fail("a bar of '" + p.name + "' has " + std::to_string(got) + " steps, not " +
                        std::to_string(bar));
        };
        for (const auto& [number_, w] : body) {
            current_ = number_;
            if (!isBeat) {
                int inBar = 0;
                for (const auto& token : w) {
                    if (token == "|") {
                        if (inBar != bar) return static_cast<void>(barError(inBar));
                        inBar = 0;
                        continue;
                    }
                    SStep s;
                    if (!step(token, s)) return;
                    p.steps.push_back(s);
                    ++inBar;
                }
                if (inBar != bar) return static_cast<void>(barError(inBar));
                continue;
            }
            int drum = -1;
            for (size_t i = 0; i < sound_.drums.size(); ++i)
                if (sound_.drums[i].name == w[0]) drum = static_cast<int>(i);
            if (drum < 0) return static_cast<void>(fail("no drum called '" + w[0] + "'"));
            SLane* lane = nullptr;
            for (auto& l : p.lanes)
                if (l.drum == drum) lane = &l;
            if (!lane) {
                p.lanes.push_back({drum, {}});
                lane = &p.lanes.back();
            }
            int inBar = 0;
            for (size_t i = 1; i < w.size(); ++i) {
                for (char ch : w[i]) {
                    if (ch == '|') {
                        if (inBar != bar) return static_cast<void>(barError(inBar));
                        inBar = 0;
                        continue;
                    }
                    double v = 0.0;
                    switch (ch) {
                        case '.':
                            v = 0.0;
                            break;
                        case ',':
                            v = 0.45;
                            break;  // ghost
                        case 'x':
                            v = 0.75;
                            break;
                        case 'X':
                            v = 1.0;
                            break;  // accent
                        default:
                            return static_cast<void>(
                                fail(std::string("drum hit '") + ch + "' is none of . , x X |"));
                    }
                    lane->hits.push_back(v);
                    ++inBar;
                }
            }
            if (inBar != bar) return static_cast<void>(barError(inBar));
        }
        current_ = p.line;
        if (isBeat) {
            if (p.lanes.empty()) return static_cast<void>(fail("beat '" + p.name + "' is empty"));
            p.length = static_cast<int>(p.lanes[0].hits.size());
            for (const auto& l : p.lanes)
                if (static_cast<int>(l.hits.size()) != p.length)
                    return static_cast<void>(
                        fail("the lanes of beat '" + p.name + "' differ in length"));
        } else {
            if (p.steps.empty())
                return static_cast<void>(fail("pattern '" + p.name + "' is empty"));
            p.length = static_cast<int>(p.steps.size());
        }
        sound_.patterns.push_back(p);
    }

    // track INSTRUMENT entry...  /  track drums beat...   entry: name[+N|-N][*N]
    void track(const std::vector<std::string>& w) {
        if (w.size() < 3)
            return static_cast<void>(fail("'track' takes an instrument (or drums) and patterns"));
        STrack t;
        t.line = current_;
        const bool drums = w[1] == "drums";
        if (!drums) {
            for (size_t i = 0; i < sound_.instruments.size(); ++i)
                if (sound_.instruments[i].name == w[1]) t.instrument = static_cast<int>(i);
            if (t.instrument < 0)
                return static_cast<void>(fail("no instrument called '" + w[1] + "'"));
        }
        for (size_t i = 2; i < w.size(); ++i) {
            std::string s = w[i];
            STrackEntry e;
            const size_t star = s.find('*');
            if (star != std::string::npos) {
                if (!parseInt(s.substr(star + 1), e.repeat) || e.repeat < 1 || e.repeat > 256)
                    return static_cast<void>(fail("bad repeat in '" + w[i] + "'"));
                s.resize(star);
            }
            const size_t sign = s.find_first_of("+-");
            if (sign != std::string::npos) {
                if (!parseInt(s.substr(sign), e.transpose) || std::abs(e.transpose) > 48)
                    return static_cast<void>(fail("bad transposition in '" + w[i] + "'"));
                s.resize(sign);
            }
            e.pattern = -1;
            for (size_t p = 0; p < sound_.patterns.size(); ++p)
                if (sound_.patterns[p].name == s) e.pattern = static_cast<int>(p);
            if (e.pattern < 0) return static_cast<void>(fail("no pattern called '" + s + "'"));
            if (sound_.patterns[e.pattern].isBeat != drums)
                return static_cast<void>(
                    fail(drums ? "'" + s + "' is a melody, not a beat"
                               : "'" + s + "' is a beat: play it on the drums track"));
            if (drums && e.transpose != 0)
                return static_cast<void>(fail("a beat cannot be transposed"));
            t.entries.push_back(e);
        }
        sound_.tracks.push_back(t);
    }

    // Checks that need the whole file.
    void finish() {
        current_ = 0;
        sound_.samplesPerStep = std::llround(kRate * 60.0 / (sound_.tempo * sound_.stepsPerBeat));
        if (sound_.loop) {
            if (sound_.bars <= 0) return static_cast<void>(fail("a loop needs 'bars'"));
            if (static_cast<int64_t>(sound_.bars) * sound_.stepsPerBar() * sound_.samplesPerStep >
                kLongestSeconds * kRate)
                return static_cast<void>(fail("the loop is longer than any sound may be"));
            if (sound_.length != 0)
                return static_cast<void>(
                    fail("a loop's length comes from its tempo and bars; drop 'length'"));
            sound_.length =
                static_cast<int64_t>(sound_.bars) * sound_.stepsPerBar() * sound_.samplesPerStep;
        } else if (sound_.length <= 0) {
            return static_cast<void>(fail("an effect needs a 'length' in samples"));
        }
        for (const auto& t : sound_.tracks) {
            int64_t steps = 0;
            for (const auto& e : t.entries)
                steps += static_cast<int64_t>(sound_.patterns[e.pattern].length) * e.repeat;
            current_ = t.line;
            if (sound_.loop && steps != static_cast<int64_t>(sound_.bars) * sound_.stepsPerBar())
                return static_cast<void>(fail("track is " + std::to_string(steps) +
                                              " steps long, the loop " +
                                              std::to_string(sound_.bars * sound_.stepsPerBar())));
        }
        current_ = 0;
        if (sound_.tracks.empty() && sound_.layers.empty())
            return static_cast<void>(fail("no track and no layer: the sound would be silent"));
    }
};

}  // namespace

bool parseNoteName(const std::string& token, int& midi) {
    static const int kOffsets[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (token.size() < 2 || token[0] < 'A' || token[0] > 'G') return false;
    int note = kOffsets[token[0] - 'A'];
    size_t i = 1;
    if (token[i] == '#') {
        ++note;
        ++i;
    } else if (token[i] == 'b') {
        --note;
        ++i;
    }
    if (i + 1 != token.size() || token[i] < '0' || token[i] > '9') return false;
    midi = note + 12 * (token[i] - '0' + 1);
    return true;
}

bool parseSound(const std::string& text, const std::string& file, SSound& sound,
                std::string& error) {
    sound = SSound{};
    sound.file = file;
    CParser parser(file, sound);
    if (parser.run(text)) return true;
    error = parser.error();
    return false;
}
