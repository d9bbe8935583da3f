// Where the game keeps the player's own files.

#include "platform/paths.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>

// Makes every missing folder of path.
static void MakeFolders(const std::string &path) {
    for (size_t i = 1; i <= path.size(); i++)
        if (i == path.size() || path[i] == '/') mkdir(path.substr(0, i).c_str(), 0700);
}

std::string UserDataFile(const char *name) {
    const char *xdg = getenv("XDG_DATA_HOME");
    const char *home = getenv("HOME");
    std::string dir;
    if (xdg && xdg[0] == '/')
        dir = xdg;
    else
        dir = std::string(home && home[0] ? home : ".") + "/.local/share";
    dir += "/earthguard";
    MakeFolders(dir);
    return dir + "/" + name;
}
