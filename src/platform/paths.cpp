// Where the game's files are. See paths.h.

#include "platform/paths.h"
#include "platform/platform.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#ifndef EARTHGUARD_DATA_FROM_BIN
#define EARTHGUARD_DATA_FROM_BIN "../share/earthguard"  // the install's data, seen from its bin folder
#endif

static std::string scores_file;  // set by --scores; empty: the default table

static bool IsDir(const std::string &path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A folder counts as the data only when it has both of its parts, so that
// some unrelated ./data is not taken for it.
static bool HoldsData(const std::string &dir) {
    return IsDir(dir + "/video") && IsDir(dir + "/audio");
}

// The install's data folder beside the program's own file, or "" when the
// program's path cannot be read.
static std::string InstalledData() {
    char exe[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0) return "";
    std::string dir(exe, n), rel = EARTHGUARD_DATA_FROM_BIN;
    dir.erase(dir.rfind('/'));
    for (; rel.compare(0, 3, "../") == 0 && dir.rfind('/') != std::string::npos; rel.erase(0, 3))
        dir.erase(dir.rfind('/'));
    return dir + "/" + rel;
}

std::string DataDir() {
    const char *env = getenv("EARTHGUARD_DATA");
    if (env && *env) {  // named by the player: the only place looked
        if (HoldsData(env)) return env;
        SysFatal("cannot find the game's data (folders video/ and audio/) in %s, named by EARTHGUARD_DATA",
                 env);
    }
    std::vector<std::string> places = {InstalledData(), "data"};
    std::string looked;
    for (const std::string &p : places) {
        if (p.empty()) continue;
        if (HoldsData(p)) return p;
        looked += "\n  " + (p == "data" ? "./data" : p);
    }
    SysFatal("cannot find the game's data (folders video/ and audio/); looked in:%s", looked.c_str());
}

std::string DataFile(const std::string &name) {
    return DataDir() + "/" + name;
}

// Makes every missing folder of an absolute path, private to the player as
// the base directory rules ask.
static void MakeFolders(const std::string &path) {
    for (size_t at = 1; at != std::string::npos; at = path.find('/', at + 1))
        mkdir(path.substr(0, at).c_str(), 0700);
    mkdir(path.c_str(), 0700);
}

std::string UserDataFile(const char *name) {
    const char *xdg = getenv("XDG_DATA_HOME");
    std::string base;
    if (xdg && xdg[0] == '/') {  // a relative value is to be ignored
        base = xdg;
    } else {
        const char *home = getenv("HOME");
        const passwd *pw = home && *home ? nullptr : getpwuid(getuid());
        base = std::string(home && *home ? home : pw ? pw->pw_dir : "") + "/.local/share";
    }
    std::string dir = base + "/earthguard";
    MakeFolders(dir);
    return dir + "/" + name;
}

// Copies a regular file to a new one, never over an existing one; a copy
// that fails half way is removed so that the next start tries again. Any
// other kind of file (a pipe, a device) is left alone: it may never end.
static void CopyNew(const char *from, const std::string &to) {
    int in = open(from, O_RDONLY | O_NONBLOCK);
    struct stat st;
    if (in < 0) return;
    if (fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(in);
        return;
    }
    int out = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    bool ok = out >= 0;
    char buf[4096];
    ssize_t n;
    while (ok && (n = read(in, buf, sizeof buf)) != 0) ok = n > 0 && write(out, buf, n) == n;
    if (out >= 0) ok = fsync(out) == 0 && close(out) == 0 && ok;
    close(in);
    if (out >= 0 && !ok) unlink(to.c_str());
}

std::string ScoresFile() {
    if (!scores_file.empty()) return scores_file;
    if (sys_headless) return "scoretb.dat";
    std::string mine = UserDataFile("scoretb.dat");
    if (access(mine.c_str(), F_OK) != 0 && errno == ENOENT) CopyNew("scoretb.dat", mine);
    return mine;
}

void SetScoresFile(const std::string &path) {
    scores_file = path;
}

std::string FolderOf(const std::string &path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

// The old file's rights and owner, or the usual ones for a new file. Only
// root may give a file away; anyone else keeps it.
static void SetRights(int h, const struct stat *like) {
    if (!like) {
        mode_t mask = umask(0);  // read it back
        umask(mask);
        fchmod(h, 0666 & ~mask);
        return;
    }
    fchmod(h, like->st_mode & 0777);
    if (like->st_uid != geteuid() || like->st_gid != getegid())
        if (fchown(h, like->st_uid, like->st_gid) != 0) return;  // only root may give a file away
}

bool ReplaceFile(const std::string &path, const void *data, size_t size, const struct stat *like,
                 bool *made) {
    std::string tmp = path + ".XXXXXX";
    int h = mkstemp(&tmp[0]);
    if (made) *made = h >= 0;
    if (h < 0) return false;
    SetRights(h, like);
    bool ok = write(h, data, size) == (ssize_t)size;
    ok = fsync(h) == 0 && ok;
    ok = close(h) == 0 && ok;
    if (!ok || rename(tmp.c_str(), path.c_str()) != 0) {
        unlink(tmp.c_str());
        return false;
    }
    // A rename is only lasting once the folder holding it is on disk too.
    std::string folder = FolderOf(path);
    int dir = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return true;
}
