// Where the game's files are: the data it loads, and each player's own files
// (the high-score table, and whatever else a player keeps).
#pragma once

#include <string>
#include <sys/stat.h>

// The data folder: $EARTHGUARD_DATA when set; else the installed
// share/earthguard found from the program's own path, so a moved install
// still works; else ./data (running from the source tree). Stops the game
// with exit status 2, naming every place looked, when none holds the data.
std::string DataDir();
std::string DataFile(const std::string &name);  // DataDir()/NAME, e.g. "video/title.bmp"

std::string UserDataFile(const char *name);  // $XDG_DATA_HOME/earthguard/NAME, the folder made if missing

// The high-score table: the file given with SetScoresFile (--scores); else,
// headless, ./scoretb.dat, so scripted runs stay in their folder; else the
// player's own table, which starts as a copy of ./scoretb.dat if there is one.
std::string ScoresFile();
void SetScoresFile(const std::string &path);  // empty: back to the default

std::string FolderOf(const std::string &path);  // "a/b/" of "a/b/c", "" of "c"

// Writes data to a new file beside path and renames it over path, then
// syncs the folder: a crash leaves the old file or the new one, never half
// of one. The new file keeps the rights and owner of `like` (the old file),
// or gets the usual rights of a new file when like is NULL. True when path
// holds the new data; *made (if given) tells whether the new file could be
// made at all.
bool ReplaceFile(const std::string &path, const void *data, size_t size, const struct stat *like,
                 bool *made = NULL);
