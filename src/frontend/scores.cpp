// High-score table: the five best results, kept in scoretb.dat (which one:
// ScoresFile), shown on the title picture, and entered with a name after a
// game.
//
// The file is five 28-byte entries in rank order, no header: a name of 20
// bytes (NUL-terminated), then score and level as little-endian 32-bit
// integers. It is read and written byte by byte, so files from other copies
// of the game load whatever machine wrote them.
//
// The file belongs to the player: a save never replaces a table its owner
// has write-protected or that cannot be read, goes through a symbolic link
// to the file it names, and keeps the old file's rights and owner.

#include "frontend/frontend.h"
#include "core/core.h"
#include "platform/platform.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

scoreentry_t scoretb[5];
FILE *fd;

namespace {

const int ENTRY_SIZE = 28;
const int TABLE_SIZE = 5 * ENTRY_SIZE;
const char *const DEFAULT_NAME = "earthguard team";

void PutInt(unsigned char *p, int v) {
    uint32_t u = (uint32_t)v;
    for (int i = 0; i < 4; i++) p[i] = (unsigned char)(u >> (8 * i));
}

int GetInt(const unsigned char *p) {
    uint32_t u = 0;
    for (int i = 0; i < 4; i++) u |= (uint32_t)p[i] << (8 * i);
    return (int32_t)u;
}

void Encode(const scoreentry_t &e, unsigned char *p) {
    memcpy(p, e.name, 20);
    PutInt(p + 20, e.score);
    PutInt(p + 24, e.level);
}

// A name is always cut to 19 characters, whatever the file holds.
void Decode(const unsigned char *p, scoreentry_t *e) {
    memcpy(e->name, p, 20);
    e->name[19] = '\0';
    e->score = GetInt(p + 20);
    e->level = GetInt(p + 24);
}

void EncodeTable(const scoreentry_t *tb, unsigned char *data) {
    for (int k = 0; k < 5; k++) Encode(tb[k], data + ENTRY_SIZE * k);
}

// The file a path names once symbolic links are followed; it need not exist.
std::string LinkTarget(std::string path) {
    for (int hops = 0; hops < 40; hops++) {
        char to[PATH_MAX];
        ssize_t n = readlink(path.c_str(), to, sizeof to - 1);
        if (n <= 0) break;
        to[n] = '\0';
        path = to[0] == '/' ? std::string(to) : FolderOf(path) + to;
    }
    return path;
}

enum TableFile { ABSENT, REPLACEABLE, LEFT_ALONE };

// Whether a save may put a new table where `target` is: it may when there is
// no file yet, or a plain file the player can read and write and that is
// not write-protected (no write right for anyone, which binds root too).
TableFile Judge(const std::string &target, struct stat *st) {
    if (stat(target.c_str(), st) != 0) return errno == ENOENT ? ABSENT : LEFT_ALONE;
    if (!S_ISREG(st->st_mode) || (st->st_mode & 0222) == 0) return LEFT_ALONE;
    return faccessat(AT_FDCWD, target.c_str(), R_OK | W_OK, AT_EACCESS) == 0 ? REPLACEABLE : LEFT_ALONE;
}

// A temporary file of an earlier save: the table's name, a dot and the six
// letters or digits mkstemp puts there.
bool IsLeftover(const std::string &name, const std::string &base) {
    if (name.size() != base.size() + 7 || name.compare(0, base.size() + 1, base + ".") != 0) return false;
    for (size_t i = base.size() + 1; i < name.size(); i++)
        if (!isalnum((unsigned char)name[i])) return false;
    return true;
}

// Removes the player's own temporary files that a save interrupted by a
// crash left beside the table; one younger than a minute may be another
// copy of the game saving right now.
void RemoveLeftovers(const std::string &target) {
    std::string folder = FolderOf(target);
    std::string base = target.substr(folder.size());
    DIR *d = opendir(folder.empty() ? "." : folder.c_str());
    if (!d) return;
    while (dirent *e = readdir(d)) {
        std::string path = folder + e->d_name;
        struct stat st;
        if (IsLeftover(e->d_name, base) && lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
            st.st_uid == geteuid() && time(NULL) - st.st_mtime > 60)
            unlink(path.c_str());
    }
    closedir(d);
}

// Writes the table to a new file beside the old one and renames it over
// it, so a crash or a full disk in the middle never loses the old table.
// Returns false when the table is kept in memory only: the file is to be
// left alone, or not even the new file could be made.
bool WriteTable(const scoreentry_t *tb) {
    std::string target = LinkTarget(ScoresFile());
    struct stat old;
    TableFile kind = Judge(target, &old);
    if (kind == LEFT_ALONE) return false;
    RemoveLeftovers(target);

    unsigned char data[TABLE_SIZE];
    EncodeTable(tb, data);
    bool made;
    ReplaceFile(target, data, TABLE_SIZE, kind == REPLACEABLE ? &old : NULL, &made);
    return made;
}

void DefaultTable(scoreentry_t *tb) {
    static const char *const names[5] = {DEFAULT_NAME, "pelgar", DEFAULT_NAME, "pelgar", DEFAULT_NAME};
    memset(tb, 0, 5 * sizeof *tb);
    for (int k = 0; k < 5; k++) {
        strncpy(tb[k].name, names[k], sizeof tb[k].name - 1);
        tb[k].level = 5 - k;
        tb[k].score = 5000 - 1000 * k;
    }
}

// One player's score after a game: a score passes only entries that are
// strictly lower; the player then names the new entry.
void EnterScore(int value, int num) {
    int i = 0;
    while (i < 5 && scoretb[i].score >= value) i++;
    if (i == 5) return;
    for (int k = 4; k > i; k--) scoretb[k] = scoretb[k - 1];
    memset(scoretb[i].name, 0, sizeof scoretb[i].name);
    scoretb[i].score = value;
    scoretb[i].level = level;
    hiscore = scoretb[0].score;

    ScoreBoardShow(1);
    ScoreBoardInput(i, num);
    ScoreBoardWrite();
    ScoreBoardShow(0);
    SysClearKeybuf();
    SysReadKey();
    SysFadeOut(4);
}

bool NameChar(int c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

}  // namespace

void ScoreBoard(int what) {
    if (what == 1) ScoreBoardInit();
    if (what == 2) {
        EnterScore(score, 1);
        if (NPLAYERS == 2) EnterScore(score2, 2);
    }
}

// A short file fills the entries it has bytes for (a last one in part); the
// others keep what they held.
void ScoreBoardDecode(const unsigned char *data, size_t n) {
    for (int k = 0; k < 5 && (size_t)(ENTRY_SIZE * k) < n; k++) {
        unsigned char image[ENTRY_SIZE];
        Encode(scoretb[k], image);
        size_t have = n - ENTRY_SIZE * k;
        memcpy(image, data + ENTRY_SIZE * k, have < (size_t)ENTRY_SIZE ? have : ENTRY_SIZE);
        Decode(image, &scoretb[k]);
    }
}

void ScoreBoardInit() {
    fd = fopen(ScoresFile().c_str(), "rb");
    if (fd) {
        unsigned char data[TABLE_SIZE];
        size_t n = fread(data, 1, TABLE_SIZE, fd);  // a read error reads as a short file
        ScoreBoardDecode(data, n);
        hiscore = scoretb[0].score;
        fclose(fd);
        fd = NULL;
        return;
    }
    // Only a missing table is made afresh: one that is there but could not
    // be read (no right to, or a read error) stays as it is.
    struct stat st;
    if (Judge(LinkTarget(ScoresFile()), &st) != ABSENT) return;
    scoreentry_t defaults[5];
    DefaultTable(defaults);
    if (WriteTable(defaults)) {
        memcpy(scoretb, defaults, sizeof scoretb);
        hiscore = 5000;
    }
}

void ScoreBoardWrite() {
    if (replay_playing) return;  // a replayed game never changes the player's table
    WriteTable(scoretb);
}

void ShownName(const char *name, char *shown) {
    int i = 0;
    for (; i < 19 && name[i]; i++) shown[i] = name[i] >= 32 && name[i] <= 126 ? name[i] : '?';
    shown[i] = '\0';
}

void ScoreBoardShow(int reload) {
    if (reload == 1) {
        LoadData(0);
        ToScreen(bg);
        SysFadeIn(pal, 4);
        text_bg = 0;
    }
    rectfill(bg, 1, 130, 317, 210, 0);
    rect(bg, 1, 130, 317, 210, 5);
    textprintf_ex(bg, font, 3, 133, 8, text_bg, "Name:                Level: Score:");
    for (int i = 0; i < 5; i++) {
        int y = 150 + 12 * i;
        char name[20];
        ShownName(scoretb[i].name, name);
        textprintf_ex(bg, font, 10, y, 10, text_bg, "%d. %s", i + 1, name);
        if (scoretb[i].level == 26)
            textprintf_ex(bg, font, 176, y, 10, text_bg, "end");
        else
            textprintf_ex(bg, font, 176, y, 10, text_bg, "%d", scoretb[i].level);
        textprintf_ex(bg, font, 232, y, 10, text_bg, "%d", scoretb[i].score);
    }
    ToScreen(bg);
}

void ScoreBoardInput(int pos, int num) {
    char name[20] = "";
    int len = 0;
    int y = 150 + 12 * pos;
    textprintf_ex(bg, font, 26, y, 8, text_bg, ">");
    textprintf_ex(bg, font, 3, 133, 8, text_bg, "Player %d please enter your name!  ", num);
    ToScreen(bg);
    while (!key[KEY_ENTER]) {
        SysClearKeybuf();
        int c = SysReadKey() & 0xff;
        if (c == 8) {
            if (len >= 1) {
                len -= 1;
                name[len] = '\0';
                textprintf_ex(bg, font, 34 + 8 * len, y, 8, text_bg, " ");
            }
        } else if (NameChar(c) && len <= 16) {
            textprintf_ex(bg, font, 34 + 8 * len, y, 8, text_bg, "%c", c);
            name[len++] = (char)c;
            name[len] = '\0';
        }
        ToScreen(bg);
    }
    memcpy(scoretb[pos].name, name, sizeof name);
}
