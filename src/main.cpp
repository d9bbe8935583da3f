// Earthguard: an arcade shooter for one or two players on one keyboard.

#include "core/core.h"
#include "core/platform.h"
#include "core/runner.h"
#include "platform/display.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

static const char usage[] =
    "Usage: earthguard [--windowed | --fullscreen] [--scale N] [--stretch]\n"
    "       earthguard --headless [--frames N] [--script FILE] [--shot F:FILE]...\n"
    "\n"
    "  --windowed      play in a window\n"
    "  --fullscreen    play full screen (F11 or Alt+Enter switches while playing)\n"
    "  --scale N       the window's size: N times 640x480 (1 to 8)\n"
    "  --stretch       full screen: fill the screen's height, not a whole multiple\n"
    "  --headless      run without display, keyboard or sound, on a virtual clock\n"
    "  --frames N      headless: stop when the clock reaches frame N\n"
    "  --script FILE   headless: timed key events (F down|up|press KEY, F type TEXT)\n"
    "  --shot F:FILE   headless: save the picture shown at frame F (.bmp or .png)\n"
    "  --help          show this help\n"
    "  --version       show the version\n";

static bool ParseNumber(const char *s, long *n) {
    char *end;
    *n = strtol(s, &end, 10);
    return *s && !*end && *n >= 0;
}

int main(int argc, char **argv) {
    bool headless = false;
    RunOptions opt;
    long scale;
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        bool more = i + 1 < argc;
        if (a == "--help") {
            fputs(usage, stdout);
            return 0;
        } else if (a == "--version") {
            puts("Earthguard 1.01");
            return 0;
        } else if (a == "--windowed") {
            sys_gfx_card = GFX_AUTODETECT_WINDOWED;
        } else if (a == "--fullscreen") {
            sys_gfx_card = GFX_AUTODETECT_FULLSCREEN;
        } else if (a == "--scale" && more && ParseNumber(argv[i + 1], &scale) && scale >= 1 && scale <= 8) {
            display_scale = (int)scale;
            i++;
        } else if (a == "--stretch") {
            display_stretch = true;
        } else if (a == "--headless") {
            headless = true;
        } else if (a == "--frames" && more && ParseNumber(argv[i + 1], &opt.frames)) {
            i++;
        } else if (a == "--script" && more) {
            opt.script = argv[++i];
        } else if (a == "--shot" && more && strchr(argv[i + 1], ':')) {
            std::string s = argv[++i];
            long frame;
            if (!ParseNumber(s.substr(0, s.find(':')).c_str(), &frame)) {
                fprintf(stderr, "earthguard: bad --shot '%s', expected FRAME:FILE\n", s.c_str());
                return 2;
            }
            opt.shots.push_back({frame, s.substr(s.find(':') + 1)});
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

    if (headless) {
        std::string line = RunHeadless(opt);
        if (line.empty()) return 1;
        printf("%s\n", line.c_str());
        return 0;
    }

    if (Init() != 0) return 1;
    GameLoop();
    return 0;
}
END_OF_MAIN()
