// The data generator's parts.
#pragma once

#include <allegro.h>
#include <cerrno>
#include <string>

bool WriteSheets(const std::string &dir);   // every BMP sheet
bool WriteStages(const std::string &dir);   // the stage sheets
bool WriteScreens(const std::string &dir);  // the title and the shop
bool WriteStories(const std::string &dir);  // the intro and ending sheets
bool WriteSounds(const std::string &dir);   // every WAV effect
bool WriteMusic(const std::string &dir);    // the MIDI music
bool WriteIcon(const std::string &dir);     // the window icon, icon.bmp
// The desktop icons: dir/hicolor/NxN/apps/earthguard.png, 16 to 256 pixels.
bool WriteIcons(const std::string &dir);

// Saves an 8-bit sheet with its palette; false when the file cannot be written.
bool SaveSheet(const std::string &path, BITMAP *b, const RGB *p);
