// The intro music and the patch set it plays with: every instrument and drum
// the score uses has a well-formed patch, the piece is long enough, and it
// loops cleanly (no note hangs over the loop point, which falls on a bar).

#include "support/harness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace {

std::vector<unsigned char> Bytes(const std::string &path) {
    std::ifstream f(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(f), {});
}

uint32_t Le(const std::vector<unsigned char> &d, size_t at, int n) {
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; i--) v = v << 8 | d.at(at + i);
    return v;
}

struct Score {
    int ppq = 0, end_tick = 0;
    double seconds = 0;
    std::set<int> programs, drums;
    std::map<int, int> program_of;  // channel -> program
    std::set<int> unprogrammed;     // melodic channels that play before any program change
    int hanging = 0;                // notes still sounding at the end
};

// Reads a format-0 MIDI file: programs, drum notes, tempo and length.
Score ReadMidi(const std::string &path) {
    std::vector<unsigned char> d = Bytes(path);
    Score s;
    EXPECT_EQ(std::string(d.begin(), d.begin() + 4), "MThd");
    s.ppq = d.at(12) << 8 | d.at(13);
    size_t p = 22, end = 22 + (d.at(18) << 24 | d.at(19) << 16 | d.at(20) << 8 | d.at(21));
    EXPECT_EQ(std::string(d.begin() + 14, d.begin() + 18), "MTrk");
    int tick = 0, status = 0, tempo = 500000;
    std::map<int, int> on;  // channel*128+note -> count
    while (p < end) {
        int delta = 0;
        do delta = delta << 7 | (d.at(p) & 127);
        while (d.at(p++) & 128);
        tick += delta;
        s.seconds += delta * tempo / 1e6 / s.ppq;
        if (d.at(p) & 128) status = d.at(p++);
        if (status == 0xFF) {
            int type = d.at(p++), len = d.at(p++);
            if (type == 0x51) tempo = d.at(p) << 16 | d.at(p + 1) << 8 | d.at(p + 2);
            if (type == 0x2F) s.end_tick = tick;
            p += len;
            continue;
        }
        int kind = status & 0xF0, ch = status & 15;
        int a = d.at(p++), b = (kind == 0xC0 || kind == 0xD0) ? 0 : d.at(p++);
        if (kind == 0xC0) {
            s.programs.insert(a);
            s.program_of[ch] = a;
        } else if (kind == 0x90 && b > 0) {
            if (ch == 9) s.drums.insert(a);
            if (ch != 9 && !s.program_of.count(ch)) s.unprogrammed.insert(ch);
            on[ch * 128 + a]++;
        } else if (kind == 0x80 || (kind == 0x90 && b == 0)) {
            on[ch * 128 + a]--;
        }
    }
    for (auto &n : on) s.hanging += n.second;
    return s;
}

struct PatchSet {
    std::map<int, std::string> programs, drums;  // 0-based program / drum key -> file
};

// Reads default.cfg as DIGMID does: programs counted from 1, then the drum
// kit between "129 begin_multipatch" and "end_multipatch".
PatchSet ReadCfg(const std::string &path) {
    std::ifstream f(path);
    std::string line;
    PatchSet set;
    bool drums = false;
    while (std::getline(f, line)) {
        std::istringstream in(line);
        std::string a, b;
        if (!(in >> a) || a[0] == '#') continue;
        if (a == "end_multipatch") {
            drums = false;
            continue;
        }
        in >> b;
        if (b == "begin_multipatch") {
            drums = true;
            continue;
        }
        if (drums)
            set.drums[std::stoi(a)] = b;
        else
            set.programs[std::stoi(a) - 1] = b;
    }
    return set;
}

// Checks a GF1 patch file; returns its one sample's 16-bit data.
std::vector<int16_t> CheckPatch(const std::string &name, bool *looped) {
    std::vector<unsigned char> d = Bytes(SourcePath("data/audio/" + name + ".pat"));
    EXPECT_GE(d.size(), 335u) << name;
    if (d.size() < 335) return {};
    EXPECT_EQ(std::string(d.begin(), d.begin() + 22), std::string("GF1PATCH110\0ID#000002\0", 22)) << name;
    EXPECT_EQ(d[82], 1) << name << ": one instrument";
    EXPECT_EQ(d[151], 1) << name << ": one layer";
    EXPECT_EQ(d[198], 1) << name << ": one sample";
    const size_t s = 239;  // the sample header
    uint32_t size = Le(d, s + 8, 4), loop_start = Le(d, s + 12, 4), loop_end = Le(d, s + 16, 4);
    uint32_t rate = Le(d, s + 20, 2), root = Le(d, s + 30, 4);
    int mode = d[s + 55];
    EXPECT_EQ(size + 335, d.size()) << name << ": the data size must match the file";
    EXPECT_TRUE(mode & 1) << name << ": 16-bit";
    EXPECT_GT(rate, 8000u) << name;
    EXPECT_GT(root, 20000u) << name << ": root frequency in milli-hertz";
    *looped = mode & 4;
    if (*looped) {
        EXPECT_LT(loop_start, loop_end) << name;
        EXPECT_LE(loop_end, size) << name;
        EXPECT_EQ(loop_start % 2, 0u) << name;
    }
    std::vector<int16_t> pcm;
    for (size_t i = 335; i + 1 < d.size(); i += 2) pcm.push_back((int16_t)Le(d, i, 2));
    if (*looped) {
        // Seamless: the sample after the loop's end continues from its start
        // as smoothly as the waveform moves anywhere else.
        size_t a = loop_start / 2, b = loop_end / 2;
        int biggest = 0;
        for (size_t i = a + 1; i < b; i++) biggest = std::max(biggest, std::abs(pcm[i] - pcm[i - 1]));
        EXPECT_LE(std::abs(pcm[a] - pcm[b - 1]), biggest) << name << ": the loop clicks";
    }
    return pcm;
}

TEST(Music, EveryInstrumentAndDrumOfTheScoreHasAPatch) {
    Score score = ReadMidi(SourcePath("data/audio/bgsound.mid"));
    PatchSet set = ReadCfg(SourcePath("data/audio/default.cfg"));
    EXPECT_TRUE(score.unprogrammed.empty()) << "a channel plays before it is given an instrument";
    ASSERT_FALSE(score.programs.empty());
    ASSERT_FALSE(score.drums.empty());
    for (int p : score.programs) EXPECT_TRUE(set.programs.count(p)) << "no patch for program " << p;
    for (int n : score.drums) EXPECT_TRUE(set.drums.count(n)) << "no patch for drum key " << n;
    for (auto *group : {&set.programs, &set.drums})
        for (auto &entry : *group) {
            bool looped = false;
            std::vector<int16_t> pcm = CheckPatch(entry.second, &looped);
            int peak = 0;
            for (int16_t v : pcm) peak = std::max(peak, std::abs((int)v));
            EXPECT_GT(peak, 3000) << entry.second << " is nearly silent";
            if (!looped) {
                EXPECT_LT(std::abs(pcm.back()), 200) << entry.second << " ends with a click";
            }
            EXPECT_EQ(looped, group == &set.programs)
                << entry.second << ": melodic voices sustain, drums do not";
        }
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
