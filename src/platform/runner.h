// The headless runner: the whole game on the virtual clock, driven by a
// script of key events, as `earthguard --headless` and the tests run it.
#pragma once

#include <string>
#include <vector>

struct RunOptions {
    long frames = -1;         // stop when the clock reaches this frame; -1: at the end of the script
    std::string script;       // script file, or empty
    std::string script_text;  // script given directly (tests), used when script is empty
    std::vector<std::pair<long, std::string>> shots;  // frame and file of each screenshot
};

// Runs the game from start-up until the run's end and returns the final line,
// or an empty string after printing why the run could not start. *saved, if
// given, tells whether every screenshot asked for is in its file.
std::string RunHeadless(const RunOptions &opt, bool *saved = nullptr);

// "frames=N level=L score=S ... gameover=0|1", the line a headless run ends with.
std::string FinalLine();
