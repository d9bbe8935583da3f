// The intro music and the patch set it plays with: every instrument and drum
// the score uses has a well-formed patch, the piece is long enough, and it
// loops cleanly (no note hangs over the loop point, which falls on a bar).

#include "support/harness.h"
#include "support/shown_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace {

// n bytes from `at`, little-endian (big-endian with big).
uint32_t Num(const std::string &d, size_t at, int n, bool big = false) {
    uint32_t v = 0;
    for (int i = 0; i < n; i++) v = v << 8 | (unsigned char)d.at(at + (big ? i : n - 1 - i));
    return v;
}

struct Score {
    int ppq = 0, end_tick = 0;
    double seconds = 0;
    std::set<int> programs, drums;
    std::set<int> unprogrammed;  // melodic channels that play before any program change
    int hanging = 0;             // notes still sounding at the end
};

// Reads a format-0 MIDI file: programs, drum notes, tempo and length.
Score ReadMidi(const std::string &path) {
    std::string d = Slurp(path);
    auto at = [&](size_t i) { return (int)(unsigned char)d.at(i); };
    Score s;
    EXPECT_EQ(d.substr(0, 4) + d.substr(14, 4), "MThdMTrk");
    s.ppq = Num(d, 12, 2, true);
    size_t p = 22, end = 22 + Num(d, 18, 4, true);
    int tick = 0, status = 0, tempo = 500000;
    std::set<int> programmed;
    std::map<int, int> on;  // channel*128+note -> count
    while (p < end) {
        int delta = 0;
        do delta = delta << 7 | (at(p) & 127);
        while (at(p++) & 128);
        tick += delta;
        s.seconds += delta * tempo / 1e6 / s.ppq;
        if (at(p) & 128) status = at(p++);
        if (status == 0xFF) {
            int type = at(p++), len = at(p++);
            if (type == 0x51) tempo = Num(d, p, 3, true);
            if (type == 0x2F) s.end_tick = tick;
            p += len;
            continue;
        }
        int kind = status & 0xF0, ch = status & 15;
        int a = at(p++), b = (kind == 0xC0 || kind == 0xD0) ? 0 : at(p++);
        if (kind == 0xC0) {
            s.programs.insert(a);
            programmed.insert(ch);
        } else if (kind == 0x90 && b > 0) {
            if (ch == 9) s.drums.insert(a);
            if (ch != 9 && !programmed.count(ch)) s.unprogrammed.insert(ch);
            on[ch * 128 + a]++;
        } else if (kind == 0x80 || kind == 0x90) {
            on[ch * 128 + a]--;
        }
    }
    for (auto &n : on) s.hanging += n.second;
    return s;
}

// Reads default.cfg as DIGMID does: 0-based program or drum key -> patch
// file; programs counted from 1, then the drum kit between
// "129 begin_multipatch" and "end_multipatch".
void ReadCfg(const std::string &path, std::map<int, std::string> *programs,
             std::map<int, std::string> *drums) {
    std::ifstream f(path);
    std::string line;
    bool in_drums = false;
    while (std::getline(f, line)) {
        std::istringstream in(line);
        std::string a, b;
        if (!(in >> a) || a[0] == '#') continue;
        in >> b;
        if (a == "end_multipatch" || b == "begin_multipatch")
            in_drums = b == "begin_multipatch";
        else if (in_drums)
            (*drums)[std::stoi(a)] = b;
        else
            (*programs)[std::stoi(a) - 1] = b;
    }
}

// Checks a GF1 patch file of one sample (whether DIGMID plays it is the live
// test's part): its signature and size, audible, a sustaining loop that does
// not click, and no click at the end of a drum.
void CheckPatch(const std::string &name, bool melodic) {
    SCOPED_TRACE(name);
    std::string d = Slurp(SourcePath("data/audio/" + name + ".pat"));
    ASSERT_GE(d.size(), 335u);
    EXPECT_EQ(d.substr(0, 22), std::string("GF1PATCH110\0ID#000002\0", 22));
    const size_t s = 239;  // the sample header
    uint32_t size = Num(d, s + 8, 4), loop_start = Num(d, s + 12, 4), loop_end = Num(d, s + 16, 4);
    int mode = d[s + 55];
    EXPECT_EQ(size + 335, d.size()) << "the data size must match the file";
    EXPECT_TRUE(mode & 1) << "16-bit";
    EXPECT_EQ((mode & 4) != 0, melodic) << "melodic voices sustain, drums do not";
    std::vector<int> pcm;
    for (size_t i = 335; i + 1 < d.size(); i += 2) pcm.push_back((int16_t)Num(d, i, 2));
    int peak = 0;
    for (int v : pcm) peak = std::max(peak, std::abs(v));
    EXPECT_GT(peak, 3000) << "nearly silent";
    if (!(mode & 4)) {
        EXPECT_LT(std::abs(pcm.back()), 200) << "ends with a click";
        return;
    }
    ASSERT_LT(loop_start, loop_end);
    EXPECT_LE(loop_end, size);
    EXPECT_EQ(loop_start % 2, 0u);
    // Seamless: the sample after the loop's end continues from its start as
    // smoothly as the waveform moves anywhere else.
    size_t a = loop_start / 2, b = loop_end / 2;
    int biggest = 0;
    for (size_t i = a + 1; i < b; i++) biggest = std::max(biggest, std::abs(pcm[i] - pcm[i - 1]));
    EXPECT_LE(std::abs(pcm[a] - pcm[b - 1]), biggest) << "the loop clicks";
}

TEST(Music, EveryInstrumentAndDrumOfTheScoreHasAWellFormedPatch) {
    Score score = ReadMidi(SourcePath("data/audio/bgsound.mid"));
    std::map<int, std::string> programs, drums;
    ReadCfg(SourcePath("data/audio/default.cfg"), &programs, &drums);
    EXPECT_TRUE(score.unprogrammed.empty()) << "a channel plays before it is given an instrument";
    ASSERT_FALSE(score.programs.empty() || score.drums.empty());
    for (int p : score.programs) EXPECT_TRUE(programs.count(p)) << "no patch for program " << p;
    for (int n : score.drums) EXPECT_TRUE(drums.count(n)) << "no patch for drum key " << n;
    for (auto &entry : programs) CheckPatch(entry.second, true);
    for (auto &entry : drums) CheckPatch(entry.second, false);
}

TEST(Music, ThePieceLastsOverAMinuteAndLoopsOnABar) {
    Score score = ReadMidi(SourcePath("data/audio/bgsound.mid"));
    EXPECT_GE(score.seconds, 60.0);
    EXPECT_LE(score.seconds, 240.0);
    EXPECT_EQ(score.hanging, 0) << "notes still sound at the loop point";
    ASSERT_GT(score.ppq, 0);
    EXPECT_EQ(score.end_tick % (4 * score.ppq), 0) << "the loop point is not on a bar line";
}

}  // namespace
