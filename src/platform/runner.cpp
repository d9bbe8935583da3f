// The headless runner.

#include "platform/runner.h"
#include "core/core.h"
#include "platform/platform.h"
#include "platform/replay.h"

#include <cstdio>

std::string FinalLine() {
    char line[256];
    snprintf(line, sizeof line,
             "frames=%ld level=%d score=%d score2=%d lives=%d lives2=%d money=%d money2=%d gameover=%d",
             HeadlessFrame(), level, score, score2, lives, lives2, money, money2, gameover ? 1 : 0);
    return line;
}

std::string RunHeadless(const RunOptions &opt, bool *saved) {
    sys_headless = true;
    HeadlessReset();
    ClockReset();
    std::string err;
    if (!opt.script.empty() ? !HeadlessLoadScript(opt.script.c_str(), &err)
                            : !HeadlessParseScript(opt.script_text, &err)) {
        fprintf(stderr, "earthguard: script %s\n", err.c_str());
        return "";
    }
    HeadlessSetFrameLimit(opt.frames);
    for (const auto &shot : opt.shots) HeadlessAddShot(shot.first, shot.second);

    try {
        if (Init() != 0) return "";
        ReplayStartTable();
        GameLoop();
    } catch (const RunOver &) {}
    bool all = HeadlessFinish();
    if (saved) *saved = all;
    return FinalLine();
}
