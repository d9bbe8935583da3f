// Benchmarks run the real game headless, in a scratch working directory that
// sees the game's data, so the score file never lands in the repository.
#pragma once

#include "core/core.h"
#include "core/platform.h"

#include <cstdlib>
#include <unistd.h>

inline void StartHeadlessGame() {
    char dir[] = "/tmp/earthguard-bench-XXXXXX";
    if (!mkdtemp(dir) || chdir(dir) != 0 || symlink(SOURCE_DIR "/data", "data") != 0) abort();
    sys_headless = true;
    HeadlessReset();
    ClockReset();
    if (Init() != 0) abort();
}
