// The picture sheets: each an 8-bit BMP whose palette and sprite rectangles
// the game relies on (stages.cpp, screens.cpp, story.cpp draw them).

#include "mkdata.h"

bool WriteSheets(const std::string &dir) {
    return WriteStages(dir) && WriteScreens(dir) && WriteStories(dir);
}

bool SaveSheet(const std::string &path, BITMAP *b, const RGB *p) {
    return save_bmp(path.c_str(), b, p) == 0;
}
