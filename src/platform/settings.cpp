// The player's settings file, through the library's config routines on a
// config of its own (pushed over the library's default one, so nothing is
// ever written beside the program). A file that is not short plain text is
// never handed to the parser.
//
//   [display]
//   mode = fullscreen | window
//   scale = N        the window's size in multiples of 640x480, 0 = the largest that fits

#include "platform/display.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const size_t MAX_SETTINGS = 4096;
const int MAX_SCALE = 8;

bool PlainText(const char *s, size_t n) {
    for (size_t i = 0; i < n; i++) {
        unsigned char c = s[i];
        if ((c < 32 && c != '\n' && c != '\r' && c != '\t') || c > 126) return false;
    }
    return true;
}

// The whole file if it is short plain text; false (and why) if it is not.
bool ReadSettings(const std::string &path, std::string *text, std::string *why) {
    FILE *f = fopen(path.c_str(), "rb");
    if (!f) {
        *why = errno == ENOENT ? "" : strerror(errno);
        return false;
    }
    text->resize(MAX_SETTINGS + 1);
    text->resize(fread(&(*text)[0], 1, text->size(), f));
    bool failed = ferror(f);
    int err = errno;
    fclose(f);
    if (failed)
        *why = strerror(err);
    else if (text->size() > MAX_SETTINGS)
        *why = "too long";
    else if (!PlainText(text->data(), text->size()))
        *why = "not a settings file";
    else
        return true;
    return false;
}

bool ParseScale(const char *s, int *scale) {
    char *end;
    long n = strtol(s, &end, 10);
    if (!*s || *end || n < 0 || n > MAX_SCALE) return false;
    *scale = (int)n;
    return true;
}

bool MakeDir(const std::string &dir) {
    return mkdir(dir.c_str(), 0700) == 0 || errno == EEXIST;
}

}  // namespace

std::string SettingsPath() {
    const char *xdg = getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') return std::string(xdg) + "/earthguard/earthguard.cfg";
    const char *home = getenv("HOME");
    if (home && home[0] == '/') return std::string(home) + "/.config/earthguard/earthguard.cfg";
    return "";
}

void SettingsLoad(DisplayChoice *c) {
    std::string path = SettingsPath(), text, why;
    if (path.empty()) return;
    if (!ReadSettings(path, &text, &why)) {
        if (!why.empty()) fprintf(stderr, "earthguard: ignoring %s: %s\n", path.c_str(), why.c_str());
        return;
    }
    push_config_state();
    set_config_data(text.data(), (int)text.size());
    std::string mode = get_config_string("display", "mode", "fullscreen");
    std::string scale = get_config_string("display", "scale", "0");
    pop_config_state();

    DisplayChoice read = *c;
    bool ok = ParseScale(scale.c_str(), &read.scale) && (mode == "fullscreen" || mode == "window");
    if (!ok) {
        fprintf(stderr, "earthguard: ignoring %s: not a settings file\n", path.c_str());
        return;
    }
    read.fullscreen = mode == "fullscreen";
    *c = read;
}

bool SettingsSave(const DisplayChoice &c) {
    std::string path = SettingsPath(), text, why;
    if (path.empty()) return false;
    std::string dir = path.substr(0, path.rfind('/'));
    MakeDir(dir.substr(0, dir.rfind('/')));
    if (!MakeDir(dir) || access(dir.c_str(), W_OK) != 0) {
        fprintf(stderr, "earthguard: cannot save the display choice in %s\n", path.c_str());
        return false;
    }
    // A damaged file was ignored at start: replace it rather than parse it.
    if (!ReadSettings(path, &text, &why)) remove(path.c_str());
    // The sound settings laid over the library's config catch every write
    // while they are there: lift them, write, lay them back.
    std::string sound = "[sound]\n";
    for (const char *name : {"midi_card", "patches"}) {
        const char *v = get_config_string("sound", name, NULL);
        if (v) sound += std::string(name) + " = " + v + "\n";
    }
    override_config_file(NULL);
    push_config_state();
    set_config_file(path.c_str());
    set_config_string("display", "mode", c.fullscreen ? "fullscreen" : "window");
    set_config_int("display", "scale", c.scale);
    pop_config_state();  // writes the file
    override_config_data(sound.c_str(), (int)sound.size());
    return true;
}
