// Test harness: the game library running headless in the test process, in a
// scratch working directory that sees the repository's data/.
#pragma once

#include "core/core.h"
#include "platform/platform.h"

#include <cstdint>
#include <string>

// Starts a fresh headless run in this process: virtual clock at frame 0, no
// keys, the frame clock and random sequence as at program start, and the
// script (if any) loaded. Game globals keep what earlier tests left; set up
// what a test relies on through the game's own functions.
void Fresh(const std::string &script = "", long frames = -1);

// Runs the real program as a separate process in `dir` (default: the scratch
// directory) and returns its standard output; *status gets its exit status.
std::string RunProgram(const std::string &args, int *status, const std::string &dir = "",
                       const std::string &env = "");

// f with the little-endian 32-bit value v written at byte `at`.
std::string Patched(std::string f, size_t at, uint32_t v);

// Palette index of the last presented picture at (x, y).
int Shown(int x, int y);

// The scratch directory the tests run in, and the repository.
const std::string &ScratchDir();
std::string SourcePath(const std::string &rel);
