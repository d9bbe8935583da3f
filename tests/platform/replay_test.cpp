// Recordings and replays: foreign and damaged recordings refused, a replay
// that ends otherwise than its recording, and the recorded games kept as
// regression tests.

#include "support/harness.h"
#include "support/shown_text.h"

#include <gtest/gtest.h>

#include <cinttypes>
#include <map>
#include <sstream>

namespace {

uint64_t Fnv(const std::string &s) {
    uint64_t h = 1469598103934665603ull;
    for (unsigned char c : s) h = (h ^ c) * 1099511628211ull;
    return h;
}

std::string Replace(std::string s, const std::string &from, const std::string &to) {
    size_t at = s.find(from);
    return at == std::string::npos ? s : s.replace(at, from.size(), to);
}

// A recording with the check sum made good again after an edit.
std::string Resealed(const std::string &text) {
    std::string body = text.substr(0, text.rfind("# check "));
    char sum[40];
    snprintf(sum, sizeof sum, "# check %016" PRIx64 "\n", Fnv(body));
    return body + sum;
}

TEST(Replay, ForeignDamagedAndDesynchronisedRecordingsAreRefused) {
    const std::string good = Slurp(SourcePath("tests/replays/two-players.replay"));
    const size_t at = good.find("# frames=") + 2;
    const std::string final_line = good.substr(at, good.find('\n', at) - at);
    const std::pair<std::string, std::string> bad[] = {
        {Replace(good, "game 1.01", "game 1.00"), "a recording of Earthguard 1.00 (format 1); this is"},
        {Replace(good, "replay 1,", "replay 2,"), "(format 2)"},
        {Replace(good, " keybuf ", " keybuf  "), "damaged"},
        {good.substr(0, good.size() / 2), "damaged"},
        {Resealed(Replace(good, "# table 0 ", "# table 0 7a")), "damaged"},
        {Resealed(Replace(good, "score=", "score=1")), "the replay ended with\n  " + final_line},
    };
    for (const auto &b : bad) {
        WriteFile(ScratchDir() + "/bad.replay", b.first);
        int status;
        std::string out = RunProgram("--headless --script bad.replay", &status);
        EXPECT_EQ(status, 1) << out;
        EXPECT_NE(out.find(b.second), std::string::npos) << out;
    }
}

// tests/replays/pictures.txt: "FILE FRAME DIGEST" of the picture shown at
// that frame (FNV-1a of the 8-bit BMP the runner saves). Each recording must
// replay to its recorded final line (else the program fails) and pictures.
TEST(Replay, KeptRecordingsReplayToTheirEndAndPictures) {
    std::map<std::string, std::vector<std::pair<long, std::string>>> want;
    std::istringstream list(Slurp(SourcePath("tests/replays/pictures.txt")));
    std::string file, digest;
    long frame;
    while (list >> file >> frame >> digest) want[file].push_back({frame, digest});
    ASSERT_GE(want.size(), 3u);
    for (const auto &w : want) {
        std::string args = "--headless --script " + SourcePath("tests/replays/" + w.first);
        for (const auto &f : w.second)
            args += " --shot " + std::to_string(f.first) + ":" + std::to_string(f.first) + ".bmp";
        int status;
        std::string out = RunProgram(args, &status);
        EXPECT_EQ(status, 0) << w.first << ": " << out;
        for (const auto &f : w.second) {
            char got[20];
            snprintf(got, sizeof got, "%016" PRIx64,
                     Fnv(Slurp(ScratchDir() + "/" + std::to_string(f.first) + ".bmp")));
            EXPECT_EQ(got, f.second) << w.first << " at frame " << f.first;
        }
    }
}

}  // namespace
