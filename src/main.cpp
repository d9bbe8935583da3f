// Earthguard: an arcade shooter for one or two players on one keyboard.

#include "core/core.h"
#include "platform/platform.h"
#include "platform/runner.h"
#include "platform/paths.h"
#include "platform/replay.h"
#include "platform/display.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

static const char usage[] =
    "Usage: earthguard [--windowed | --fullscreen] [--scale N] [--stretch] [--scores FILE]\n"
    "                  [--record FILE | --replay FILE]\n"
    "       earthguard --headless [--frames N] [--script FILE] [--shot F:FILE]... [--scores FILE]\n"
    "\n"
    "  --windowed      play in a window\n"
    "  --fullscreen    play full screen (F11 or Alt+Enter switches while playing)\n"
    "  --scale N       the window's size: N times 640x480 (1 to 8)\n"
    "  --stretch       full screen: fill the screen's height, not a whole multiple\n"
    "  --scores FILE   keep the high-score table in FILE (default: the player's own,\n"
    "                  ~/.local/share/earthguard/scoretb.dat; headless: ./scoretb.dat)\n"
    "  --record FILE   also write the recording of this game to FILE\n"
    "  --replay FILE   play a recording (Escape stops it, P pauses, R resumes)\n"
    "  --headless      run without display, keyboard or sound, on a virtual clock\n"
    "  --frames N      headless: stop when the clock reaches frame N\n"
    "  --script FILE   headless: timed key events (F down|up|press KEY, F type TEXT), or a recording\n"
    "  --shot F:FILE   headless: save the picture shown at frame F (.bmp or .png)\n"
    "  --help          show this help\n"
    "  --version       show the version\n";

// Frame numbers of the options are refused, not clamped, when out of range.
static int BadFrame(const char *option, const char *value, const char *expected) {
    fprintf(stderr, "earthguard: bad %s '%s', expected %s (FRAME: 0 to %ld)\n", option, value, expected,
            HEADLESS_MAX_FRAMES);
    return 2;
}

// A run of a recording that ends otherwise than the recording did is out of
// step with it: say so and fail.
static bool EndedAsRecorded(const std::string &line, const std::string &file, bool cut) {
    const std::string &recorded = ReplayRecordedLine();
    if (cut || ReplayStopped() || recorded.empty() || recorded == line) return true;
    fprintf(stderr, "earthguard: %s: the replay ended with\n  %s\nbut the recording with\n  %s\n",
            file.c_str(), line.c_str(), recorded.c_str());
    return false;
}

// Plays a recording live. The keyboard's start-up clears the key state, so
// the recording's keys at frame 0 are put back after it.
static int Replay(const std::string &file) {
    std::string err;
    if (!HeadlessLoadScript(file.c_str(), &err)) {
        fprintf(stderr, "earthguard: %s\n", err.c_str());
        return 2;
    }
    char keys0[KEY_MAX];
    for (int i = 0; i < KEY_MAX; i++) keys0[i] = key[i];
    if (Init() != 0) return 1;
    for (int i = 0; i < KEY_MAX; i++) key[i] = keys0[i];
    replay_playing = true;
    ReplayStartTable();
    try {
        GameLoop();
    } catch (const RunOver &) {}
    std::string line = FinalLine();
    printf("%s\n", line.c_str());
    return EndedAsRecorded(line, file, false) ? 0 : 1;
}

int main(int argc, char **argv) {
    bool headless = false;
    std::string replay;
    bool recorded = false;
    RunOptions opt;
    long scale;
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        bool more = i + 1 < argc;
        if (a == "--help") {
            fputs(usage, stdout);
            return 0;
        } else if (a == "--version") {
            printf("Earthguard %s\n", game_version);
            return 0;
        } else if (a == "--windowed") {
            sys_gfx_card = GFX_AUTODETECT_WINDOWED;
        } else if (a == "--fullscreen") {
            sys_gfx_card = GFX_AUTODETECT_FULLSCREEN;
        } else if (a == "--record" && more) {
            RecordTo(argv[++i]);
            recorded = true;
        } else if (a == "--replay" && more) {
            replay = argv[++i];
        } else if (a == "--scale" && more && HeadlessParseFrame(argv[i + 1], &scale) && scale >= 1 &&
                   scale <= 8) {
            display_scale = (int)scale;
            i++;
        } else if (a == "--stretch") {
            display_stretch = true;
        } else if (a == "--headless") {
            headless = true;
        } else if (a == "--frames" && more) {
            if (!HeadlessParseFrame(argv[++i], &opt.frames)) return BadFrame("--frames", argv[i], "FRAME");
        } else if (a == "--scores" && more && argv[i + 1][0]) {
            SetScoresFile(argv[++i]);
        } else if (a == "--script" && more) {
            opt.script = argv[++i];
        } else if (a == "--shot" && more && strchr(argv[i + 1], ':')) {
            std::string s = argv[++i];
            long frame;
            std::string file = s.substr(s.find(':') + 1);
            if (!HeadlessParseFrame(s.substr(0, s.find(':')), &frame) || file.empty())
                return BadFrame("--shot", argv[i], "FRAME:FILE");
            opt.shots.push_back({frame, file});
        } else {
            fprintf(stderr, "earthguard: unknown or incomplete option '%s'\n\n%s", a.c_str(), usage);
            return 2;
        }
    }
    bool headless_only = opt.frames >= 0 || !opt.script.empty() || !opt.shots.empty();
    if (headless_only && !headless) {
        fprintf(stderr, "earthguard: --frames, --script and --shot need --headless\n");
        return 2;
    }

    if ((recorded || !replay.empty()) && (headless || (recorded && !replay.empty()))) {
        fprintf(stderr, "earthguard: --record and --replay are for live games, one at a time "
                        "(--headless --script FILE replays a recording headless)\n");
        return 2;
    }

    if (headless) {
        bool saved;
        std::string line = RunHeadless(opt, &saved);
        if (line.empty()) return 1;
        printf("%s\n", line.c_str());
        bool ended = EndedAsRecorded(line, opt.script, opt.frames >= 0);
        return saved && ended ? 0 : 1;
    }
    if (!replay.empty()) return Replay(replay);

    if (Init() != 0) return 1;
    RecordBegin();
    GameLoop();
    return 0;
}
END_OF_MAIN()
