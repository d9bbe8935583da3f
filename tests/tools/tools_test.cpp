// The data the tools make.

#include "support/harness.h"
#include "support/shown_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>

namespace {

// The generator makes every data file again, byte for byte.

TEST(Generator, ReproducesTheCommittedDataExactly) {
    std::string out = ScratchDir() + "/generated";
    ASSERT_EQ(system((std::string(MKDATA_BIN) + " '" + out + "'").c_str()), 0);
    std::string diff = "diff -r '" + out + "' '" + SourcePath("data") + "'";
    EXPECT_EQ(system(diff.c_str()), 0) << "the data differs from the generator's output: run mkdata data";
}

// The intro music and the patch set it plays with: every instrument and drum
// the score uses has a well-formed patch, the piece is long enough, and it
// loops cleanly (no note hangs over the loop point, which falls on a bar).

// n bytes from `at`, little-endian (big-endian with big).
uint32_t Num(const std::string &d, size_t at, int n, bool big = false) {
    uint32_t v = 0;
    for (int i = 0; i < n; i++) v = v << 8 | (unsigned char)d.at(at + (big ? i : n - 1 - i));
    return v;
}

// Checks a patch of one sample (its form is checked as the game loads it):
// audible, a sustaining loop that does not click, no click at a drum's end.
void CheckPatch(const std::string &name, bool melodic) {
    SCOPED_TRACE(name);
    std::string d = Slurp(SourcePath("data/audio/" + name + ".pat"));
    const size_t s = 239;  // the sample header
    uint32_t size = Num(d, s + 8, 4), loop_start = Num(d, s + 12, 4) / 2, loop_end = Num(d, s + 16, 4) / 2;
    int peak = 0;
    EXPECT_EQ(d.at(s + 55) & 5, melodic ? 5 : 1) << "16-bit; melodic voices sustain, drums do not";
    std::vector<int> pcm;
    for (size_t i = 335; i + 1 < d.size(); i += 2)
        pcm.push_back((int16_t)Num(d, i, 2)), peak = std::max(peak, std::abs(pcm.back()));
    EXPECT_GT(peak, 3000) << "nearly silent";
    EXPECT_TRUE(melodic || std::abs(pcm.back()) < 200) << "ends with a click";
    if (!melodic) return;
    ASSERT_TRUE(loop_start < loop_end && loop_end * 2 <= size && Num(d, s + 12, 4) % 2 == 0)
        << "the loop's bounds";
    // Seamless: the sample after the loop's end continues from its start as
    // smoothly as the waveform moves anywhere else.
    int biggest = 0;
    for (size_t i = loop_start + 1; i < loop_end; i++)
        biggest = std::max(biggest, std::abs(pcm[i] - pcm[i - 1]));
    EXPECT_LE(std::abs(pcm[loop_start] - pcm[loop_end - 1]), biggest) << "the loop clicks";
}

TEST(Music, EveryInstrumentOfTheScoreHasAWellFormedPatchAndThePieceLoopsOnABar) {
    // The score (format 0): programs, drum notes, notes left sounding, tempo
    // and length.
    std::string d = Slurp(SourcePath("data/audio/bgsound.mid"));
    auto at = [&](size_t i) { return (int)(unsigned char)d.at(i); };
    ASSERT_EQ(d.substr(0, 4) + d.substr(14, 4), "MThdMTrk");
    int ppq = Num(d, 12, 2, true), tick = 0, status = 0, tempo = 500000, end_tick = -1;
    double seconds = 0;
    std::set<int> programs, drums, programmed;
    std::map<int, int> on;  // channel*128+note -> count
    for (size_t p = 22, end = 22 + Num(d, 18, 4, true); p < end;) {
        int delta = 0;
        do delta = delta << 7 | (at(p) & 127);
        while (at(p++) & 128);
        tick += delta;
        seconds += delta * tempo / 1e6 / ppq;
        if (at(p) & 128) status = at(p++);
        if (status == 0xFF) {
            int type = at(p++), len = at(p++);
            if (type == 0x51) tempo = Num(d, p, 3, true);
            if (type == 0x2F) end_tick = tick;
            p += len;
            continue;
        }
        int kind = status & 0xF0, ch = status & 15, a = at(p++),
            b = kind == 0xC0 || kind == 0xD0 ? 0 : at(p++);
        if (kind == 0xC0) programs.insert(a), programmed.insert(ch);
        bool note_on = kind == 0x90 && b > 0;
        if (note_on && ch == 9) drums.insert(a);
        EXPECT_TRUE(!note_on || ch == 9 || programmed.count(ch))
            << "channel " << ch << " plays before its program";
        if (kind == 0x90 || kind == 0x80) on[ch * 128 + a] += note_on ? 1 : -1;
    }
    for (auto &n : on)
        EXPECT_EQ(n.second, 0) << "note " << n.first % 128 << " still sounds at the loop point";
    EXPECT_TRUE(seconds >= 60 && seconds <= 240) << seconds;
    EXPECT_EQ(end_tick % (4 * ppq), 0) << "the loop point is not on a bar line";

    // default.cfg as DIGMID reads it: programs counted from 1, then the drum
    // kit's keys between "129 begin_multipatch" and "end_multipatch".
    std::map<int, std::string> patches[2];  // programs from 0, drum keys
    std::istringstream cfg(Slurp(SourcePath("data/audio/default.cfg")));
    bool in_drums = false;
    for (std::string line, a, b; std::getline(cfg, line);) {
        std::istringstream in(line);
        if (!(in >> a) || a[0] == '#') continue;
        in >> b;
        if (a == "end_multipatch" || b == "begin_multipatch")
            in_drums = b == "begin_multipatch";
        else
            patches[in_drums][std::stoi(a) - !in_drums] = b;
    }
    ASSERT_FALSE(programs.empty() || drums.empty());
    for (int p : programs) EXPECT_TRUE(patches[0].count(p)) << "no patch for program " << p;
    for (int n : drums) EXPECT_TRUE(patches[1].count(n)) << "no patch for drum key " << n;
    for (int k = 0; k < 2; k++)
        for (auto &entry : patches[k]) CheckPatch(entry.second, k == 0);
}

}  // namespace
