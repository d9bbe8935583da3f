// Recording and replaying games. See replay.h.
//
// Allegro's X11 keyboard writes key[] from a background thread at any
// moment. After the first poll_keyboard() it only collects the changes, and
// key[] and the key buffer change when poll_keyboard() runs: here, only as
// the game clock enters a frame. The game thus sees key changes exactly where
// a script applies them, and the recording writes them there.

#include "platform/replay.h"
#include "platform/paths.h"
#include "core/core.h"
#include "platform/headless.h"
#include "platform/platform.h"
#include "platform/runner.h"
#include "frontend/frontend.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sstream>
#include <vector>
#include <unistd.h>

const char *const game_version = "1.01";
bool replay_playing;

namespace {

const int FORMAT = 1;  // of the recordings this program writes and reads
const char HEADER[] = "# Earthguard replay";

// Live recording
bool recording;            // RecordBegin() ran: the keys are being recorded
std::string events;        // the recorded key events
char seen[KEY_MAX];        // key state as last recorded
scoreentry_t start_tb[5];  // the table the game started with
std::vector<std::string> record_paths;

// Loaded recording
bool have_table;
scoreentry_t replay_tb[5];
std::string recorded_line;
bool viewer_paused, stopped;

uint64_t CheckSum(const std::string &s) {
    uint64_t h = 1469598103934665603ull;  // FNV-1a
    for (unsigned char c : s) h = (h ^ c) * 1099511628211ull;
    return h;
}

std::string TableLines(const scoreentry_t *tb) {
    std::string out;
    for (int i = 0; i < 5; i++) {
        char line[128];
        int n = snprintf(line, sizeof line, "# table %d ", i);
        for (int b = 0; b < 20; b++)
            n += snprintf(line + n, sizeof line - n, "%02x", (unsigned char)tb[i].name[b]);
        snprintf(line + n, sizeof line - n, " %d %d\n", tb[i].score, tb[i].level);
        out += line;
    }
    return out;
}

bool ParseTableLine(const std::string &line, scoreentry_t *tb) {
    int i, score, level, used = 0;
    char hex[41];
    if (sscanf(line.c_str(), "# table %d %40[0-9a-f] %d %d%n", &i, hex, &score, &level, &used) != 4 ||
        (size_t)used != line.size() || i < 0 || i > 4 || strlen(hex) != 40)
        return false;
    for (int b = 0; b < 20; b++) tb[i].name[b] = (char)strtol(std::string(hex + 2 * b, 2).c_str(), NULL, 16);
    tb[i].name[19] = '\0';
    tb[i].score = score;
    tb[i].level = level;
    return true;
}

void Note(long frame, const char *verb, int scancode, const char *extra = "") {
    char spare[8], line[64];
    snprintf(line, sizeof line, "%ld %s %s%s\n", frame, verb, HeadlessKeyName(scancode, spare), extra);
    events += line;
}

void RecordChanges(long f) {
    for (int i = 1; i < KEY_MAX; i++) {
        bool down = key[i] != 0;
        if (down == (seen[i] != 0)) continue;
        seen[i] = down;
        Note(f, down ? "down" : "up", i);
    }
}

// Escape, P and R of the viewer of a live replay; every other key and the
// key buffer are the recording's.
bool ViewerControls() {
    char saved[KEY_MAX];
    for (int i = 0; i < KEY_MAX; i++) saved[i] = key[i];
    poll_keyboard();
    while (keypressed()) readkey();
    bool esc = key[KEY_ESC], pause = key[KEY_P], resume = key[KEY_R];
    for (int i = 0; i < KEY_MAX; i++) key[i] = saved[i];
    if (esc) {
        stopped = true;
        throw RunOver();
    }
    if (pause) viewer_paused = true;
    if (resume) viewer_paused = false;
    return viewer_paused;
}

}  // namespace

void LiveKeysStart() {
    poll_keyboard();  // the first poll switches Allegro to polling
}

bool LiveKeysAtFrame(long f) {
    if (replay_playing) return ViewerControls();
    char before[KEY_MAX];
    for (int i = 0; i < KEY_MAX; i++) before[i] = key[i];
    poll_keyboard();
    for (int i = 0; i < KEY_MAX; i++)
        if (before[i] && !key[i]) VirtualKeyReleased(i);
    while (keypressed()) {  // each call polls again, still at this frame's start
        int k = readkey();
        VirtualBufferKey(k >> 8, k & 255);
    }
    if (recording) RecordChanges(f);
    return false;
}

void RecordKeyRead(long frame, int scancode, int ascii) {
    char code[8];
    snprintf(code, sizeof code, " %d", ascii);
    if (recording) Note(frame, "keybuf", scancode, code);
}

void RecordTo(const std::string &path) {
    record_paths.push_back(path);
}

void RecordBegin() {
    recording = true;
    memcpy(start_tb, scoretb, sizeof start_tb);
    RecordChanges(0);
}

void RecordFinish(bool at_frame_start) {
    if (!recording) return;
    recording = false;
    long now = HeadlessFrame();
    char line[300];
    snprintf(line, sizeof line, "%s %d, game %s\n", HEADER, FORMAT, game_version);
    std::string text = line + TableLines(start_tb) + events;
    snprintf(line, sizeof line, "%ld end\n# %s\n", at_frame_start ? now : now + 1, FinalLine().c_str());
    text += line;
    snprintf(line, sizeof line, "# check %016" PRIx64 "\n", CheckSum(text));
    text += line;

    std::vector<std::string> paths = record_paths;
    paths.push_back(UserDataFile("last-game.replay"));
    if (memcmp(&scoretb[0], &start_tb[0], sizeof start_tb[0]) != 0)
        paths.push_back(UserDataFile("best-game.replay"));
    for (const std::string &p : paths)
        if (!ReplaceFile(p, text.data(), text.size(), NULL))
            fprintf(stderr, "earthguard: cannot write %s: %s\n", p.c_str(), strerror(errno));
}

void ReplayReset() {
    replay_playing = have_table = viewer_paused = stopped = false;
    recorded_line.clear();
}

bool ReplayCheck(const std::string &text, std::string *err) {
    ReplayReset();
    if (text.compare(0, sizeof HEADER - 1, HEADER) != 0) return true;  // a plain script

    int format = 0;
    char version[32] = "";
    if (sscanf(text.c_str() + sizeof HEADER - 1, " %d, game %31s", &format, version) != 2) {
        *err = "a damaged recording (its first line is not readable)";
        return false;
    }
    if (format != FORMAT || strcmp(version, game_version) != 0) {
        *err = "a recording of Earthguard " + std::string(version) + " (format " + std::to_string(format) +
               "); this is Earthguard " + game_version + ", which cannot replay it";
        return false;
    }
    size_t check = text.rfind("# check ");
    char sum[32];
    snprintf(sum, sizeof sum, "%016" PRIx64 "\n", CheckSum(text.substr(0, check)));
    if (check == std::string::npos || (check > 0 && text[check - 1] != '\n') ||
        text.substr(check + 8) != sum) {
        *err = "a damaged recording (cut short or changed: its check sum does not match)";
        return false;
    }
    std::istringstream in(text.substr(0, check));
    std::string line;
    int tables = 0;
    while (std::getline(in, line)) {
        if (line.compare(0, 8, "# table ") == 0) tables += ParseTableLine(line, replay_tb) ? 1 : 100;
        if (line.compare(0, 9, "# frames=") == 0) recorded_line = line.substr(2);
    }
    if (tables != 5 || recorded_line.empty()) {
        *err = "a damaged recording (no high-score table or final line)";
        return false;
    }
    have_table = replay_playing = true;
    return true;
}

void ReplayStartTable() {
    if (!have_table) return;
    memcpy(scoretb, replay_tb, sizeof scoretb);
    hiscore = scoretb[0].score;
}

const std::string &ReplayRecordedLine() {
    return recorded_line;
}

bool ReplayStopped() {
    return stopped;
}
