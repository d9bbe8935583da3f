// The live display's arithmetic and files, without a display: where the
// picture lands on common screens, that sending only the changed rows gives
// the same picture as a full redraw, the settings file, and which icon files
// are taken.

#include "platform/display.h"
#include "support/harness.h"
#include "support/shown_text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" void *allegro_icon;

namespace {

TEST(Display, PictureSizeAndPlaceOnCommonScreens) {
    // full screen, stretch, scale, screen w x h -> picture w x h at x, y
    const int cases[][9] = {
        {1, 0, 0, 1920, 1080, 1280, 960, 320, 60}, {1, 0, 0, 3840, 2160, 2560, 1920, 640, 120},
        {1, 0, 0, 2560, 1440, 1920, 1440, 320, 0}, {1, 0, 0, 1024, 768, 640, 480, 192, 144},
        {1, 1, 0, 1920, 1080, 1440, 1080, 240, 0}, {1, 0, 0, 600, 400, 533, 400, 33, 0},
        {0, 0, 0, 1920, 1080, 1280, 960, 0, 0},    {0, 0, 0, 3840, 2160, 2560, 1920, 0, 0},
        {0, 0, 0, 1280, 1024, 640, 480, 0, 0},     {0, 0, 3, 1920, 1080, 1920, 1440, 0, 0},
    };
    for (const auto &c : cases) {
        DisplayChoice choice;
        choice.fullscreen = c[0], choice.stretch = c[1], choice.scale = c[2];
        DisplayLayout l = DisplayLayoutFor(choice, c[3], c[4]);
        EXPECT_EQ(std::vector<int>({l.screen_w, l.screen_h, l.w, l.h, l.x, l.y}),
                  std::vector<int>({c[0] ? c[3] : c[5], c[0] ? c[4] : c[6], c[5], c[6], c[7], c[8]}))
            << c[3] << "x" << c[4] << (c[0] ? " full" : " window");
    }
}

TEST(Display, ChangedRowsAloneGiveTheFullPicture) {
    Fresh();
    uint32_t lut[256];
    for (int i = 0; i < 256; i++) lut[i] = 0x10203 * i;
    BITMAP *pic = create_bitmap_ex(8, 320, 256);
    for (int y = 0; y < 256; y++)
        for (int x = 0; x < 320; x++) pic->line[y][x] = (x * 7 + y * 13) & 255;
    for (int w : {1280, 1440}) {  // whole factor and stretched
        int h = w * 3 / 4, y0, y1;
        BITMAP *band = create_bitmap_ex(32, w, h), *full = create_bitmap_ex(32, w, h);
        DisplayScale(pic, lut, band, 0, 256, &y0, &y1);
        EXPECT_EQ(std::make_pair(y0, y1), std::make_pair(0, h));
        for (int x = 100; x < 140; x++) pic->line[77][x] = pic->line[78][x] = 255 - x;
        DisplayScale(pic, lut, band, 77, 79, &y0, &y1);
        EXPECT_NEAR(y1 - y0, 2 * h / 256 + 1, 1);
        DisplayScale(pic, lut, full, 0, 256, &y0, &y1);
        for (int y = 0; y < h; y++) ASSERT_EQ(memcmp(band->line[y], full->line[y], w * 4), 0) << "row " << y;
        for (BITMAP *b : {band, full}) destroy_bitmap(b);
    }
    destroy_bitmap(pic);
}

TEST(Display, SettingsSavedReadBackAndTheSoundSettingsKept) {
    Fresh();
    setenv("XDG_CONFIG_HOME", (ScratchDir() + "/config-test").c_str(), 1);
    static const char sound[] = "[sound]\npatches = data/audio/default.cfg\n";
    override_config_data(sound, sizeof sound - 1);
    DisplayChoice saved, read;
    saved.fullscreen = false, saved.scale = 3;
    ASSERT_TRUE(SettingsSave(saved));
    SettingsLoad(&read);
    EXPECT_EQ(std::make_pair(read.fullscreen, read.scale), std::make_pair(false, 3));
    EXPECT_STREQ(get_config_string("sound", "patches", ""), "data/audio/default.cfg");
    unsetenv("XDG_CONFIG_HOME");
    override_config_file(NULL);
}

// Only a sound 64x64 8-bit BMP becomes the window's icon; with no file, no
// icon (not the library's own).
TEST(Display, IconOnlyFromASound64By64EightBitBmp) {
    const std::string path = ScratchDir() + "/icon-test.bmp", good = Slurp(SourcePath("data/video/icon.bmp"));
    const std::pair<std::string, bool> cases[] = {{good, true},
                                                  {Patched(good, 14, 0xfffffff0u), false},
                                                  {Patched(good, 18, 1 << 20), false},
                                                  {Patched(good, 28, 24), false},
                                                  {good.substr(0, 2000), false},
                                                  {"", false}};  // header, width, depth, cut
    for (const auto &c : cases) {
        c.first.empty() ? (void)remove(path.c_str()) : WriteFile(path, c.first);
        DisplayNameWindow(path.c_str());
        EXPECT_EQ(allegro_icon != NULL, c.second) << c.first.size();
    }
}

}  // namespace
