// The live display's arithmetic and files, without a display: where the
// picture lands on common screens, that sending only the changed rows gives
// the same picture as a full redraw, and which icon files are taken.

#include "platform/display.h"
#include "support/harness.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" void *allegro_icon;

namespace {

TEST(Display, PictureSizeAndPlaceOnCommonScreens) {
    struct Case {
        bool fullscreen, stretch;
        int scale, dw, dh, w, h, x, y;
    } cases[] = {
        {true, false, 0, 1920, 1080, 1280, 960, 320, 60}, {true, false, 0, 3840, 2160, 2560, 1920, 640, 120},
        {true, false, 0, 2560, 1440, 1920, 1440, 320, 0}, {true, false, 0, 1024, 768, 640, 480, 192, 144},
        {true, true, 0, 1920, 1080, 1440, 1080, 240, 0},  {true, false, 0, 600, 400, 533, 400, 33, 0},
        {false, false, 0, 1920, 1080, 1280, 960, 0, 0},   {false, false, 0, 3840, 2160, 2560, 1920, 0, 0},
        {false, false, 0, 1280, 1024, 640, 480, 0, 0},    {false, false, 3, 1920, 1080, 1920, 1440, 0, 0},
    };
    for (const Case &c : cases) {
        DisplayChoice choice;
        choice.fullscreen = c.fullscreen, choice.stretch = c.stretch, choice.scale = c.scale;
        DisplayLayout l = DisplayLayoutFor(choice, c.dw, c.dh);
        SCOPED_TRACE(testing::Message() << c.dw << "x" << c.dh << (c.fullscreen ? " full" : " window"));
        EXPECT_EQ(l.screen_w, c.fullscreen ? c.dw : c.w);
        EXPECT_EQ(l.screen_h, c.fullscreen ? c.dh : c.h);
        EXPECT_EQ(std::vector<int>({l.w, l.h, l.x, l.y}), std::vector<int>({c.w, c.h, c.x, c.y}));
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
        EXPECT_EQ(y0, 0);
        EXPECT_EQ(y1, h);
        for (int x = 100; x < 140; x++) pic->line[77][x] = pic->line[78][x] = 255 - x;
        DisplayScale(pic, lut, band, 77, 79, &y0, &y1);
        EXPECT_GT(y1 - y0, 2 * h / 256 - 1);
        EXPECT_LT(y1 - y0, 2 * h / 256 + 3);
        DisplayScale(pic, lut, full, 0, 256, &y0, &y1);
        for (int y = 0; y < h; y++) ASSERT_EQ(memcmp(band->line[y], full->line[y], w * 4), 0) << "row " << y;
        destroy_bitmap(band);
        destroy_bitmap(full);
    }
    destroy_bitmap(pic);
}

TEST(Display, SettingsSavedReadBackAndTheSoundSettingsKept) {
    Fresh();
    std::string dir = ScratchDir() + "/config-test";
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    static const char sound[] = "[sound]\npatches = data/audio/default.cfg\n";
    override_config_data(sound, sizeof sound - 1);
    DisplayChoice saved, read;
    saved.fullscreen = false, saved.scale = 3;
    ASSERT_TRUE(SettingsSave(saved));
    SettingsLoad(&read);
    EXPECT_FALSE(read.fullscreen);
    EXPECT_EQ(read.scale, 3);
    EXPECT_STREQ(get_config_string("sound", "patches", ""), "data/audio/default.cfg");
    FILE *f = fopen(SettingsPath().c_str(), "w");  // damaged: the choice stays as it was
    fputs("[display]\nmode = sideways\n", f);
    fclose(f);
    DisplayChoice untouched;
    SettingsLoad(&untouched);
    EXPECT_TRUE(untouched.fullscreen);
    unsetenv("XDG_CONFIG_HOME");
    override_config_file(NULL);
}

// A 64x64 8-bit BMP, bottom-up, with header fields that can be spoiled.
std::vector<unsigned char> Icon(unsigned info = 40, int w = 64, int bits = 8,
                                unsigned size = 14 + 40 + 1024 + 4096) {
    std::vector<unsigned char> f(size > 65536 ? 65536 : size, 0);
    auto put = [&](size_t at, unsigned v) {
        for (int i = 0; i < 4 && at + i < f.size(); i++) f[at + i] = v >> (8 * i) & 255;
    };
    f[0] = 'B', f[1] = 'M';
    put(10, 14 + 40 + 1024), put(14, info), put(18, w), put(22, 64), put(26, 1 | bits << 16);
    return f;
}

TEST(Display, IconOnlyFromASound64By64EightBitBmp) {
    std::string path = ScratchDir() + "/icon-test.bmp";
    struct Case {
        std::vector<unsigned char> file;
        bool taken;
    } cases[] = {{Icon(), true},
                 {Icon(0xfffffff0u), false},
                 {Icon(40, 1 << 20), false},
                 {Icon(40, 64, 24), false},
                 {Icon(40, 64, 8, 2000), false}};
    for (const Case &c : cases) {
        FILE *f = fopen(path.c_str(), "wb");
        fwrite(c.file.data(), 1, c.file.size(), f);
        fclose(f);
        DisplayNameWindow(path.c_str());
        EXPECT_EQ(allegro_icon != NULL, c.taken);
    }
    remove(path.c_str());
    DisplayNameWindow(path.c_str());
    EXPECT_EQ(allegro_icon, nullptr);  // no file: no icon, not the library's own
}

}  // namespace
