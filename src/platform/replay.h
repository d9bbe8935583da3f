// Recording and replaying games. A recording is a headless script of every
// key change and key press the game received, by frame, headed by the format
// and game versions and the high-score table the game started with, and
// closed by the final line of the game's state and a check sum.
#pragma once

#include <string>

extern const char *const game_version;  // "1.01", shown by --version and kept in recordings

// Live keyboard, for the platform layer

void LiveKeysStart();  // from now on the keys the game sees change only at frame starts
// Reads the keyboard as the clock enters frame f. Returns true while the
// viewer holds a live replay (P, until R); Escape stops a replay.
bool LiveKeysAtFrame(long f);
void RecordKeyRead(long frame, int scancode, int ascii);  // the game got this key press
// Writes last-game.replay (best-game.replay when the game made a new best
// table entry, and the --record file) as the program ends; at_frame_start:
// it ends as the clock enters the current frame, before the frame runs.
void RecordFinish(bool at_frame_start);

// Recording, for the program

void RecordTo(const std::string &path);  // also write the recording to path
void RecordBegin();                      // after start-up: keeps the table and the keys of frame 0

// Replays

void ReplayReset();  // no recording loaded
// Checks a script's text: a recording of another version, or a damaged one,
// fails with the reason. Remembers what a recording says of its start and end.
bool ReplayCheck(const std::string &text, std::string *err);
void ReplayStartTable();  // after start-up: the high-score table the recording started with
// The final line a loaded recording ended with, empty for a plain script.
const std::string &ReplayRecordedLine();
bool ReplayStopped();  // the viewer stopped a live replay with Escape
