// Benchmarks run the real game headless, in a scratch working directory that
// sees the game's data, so the score file never lands in the repository. The
// directory goes again when the program ends.
#pragma once

#include "core/core.h"
#include "platform/platform.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

inline char *BenchDir() {
    static char dir[] = "/tmp/earthguard-bench-XXXXXX";
    return dir;
}

// Removes the directory and what the run left in it; the link to the data
// goes, never the data.
inline void RemoveBenchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(BenchDir(), ignored);
}

inline void StartHeadlessGame() {
    if (!mkdtemp(BenchDir())) abort();
    atexit(RemoveBenchDir);
    if (chdir(BenchDir()) != 0 || symlink(SOURCE_DIR "/data", "data") != 0) abort();
    sys_headless = true;
    HeadlessReset();
    ClockReset();
    if (Init() != 0) abort();
}
