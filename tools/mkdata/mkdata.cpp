// mkdata: writes every picture, sound and piece of music the game loads.
//
//   mkdata OUTDIR            writes OUTDIR/video/*.bmp and OUTDIR/audio/*
//   mkdata --icons OUTDIR    writes the desktop icons, OUTDIR/hicolor/NxN/apps/*.png
//
// Everything is drawn or synthesised here from code; the output is the same
// byte for byte on every run.

#include "mkdata.h"

#include <cstdio>
#include <string>
#include <sys/stat.h>

int main(int argc, char **argv) {
    bool icons = argc == 3 && std::string(argv[1]) == "--icons";
    if (argc != 2 && !icons) {
        fprintf(stderr, "usage: mkdata [--icons] OUTDIR\n");
        return 2;
    }
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        fprintf(stderr, "mkdata: cannot start Allegro\n");
        return 1;
    }
    set_color_depth(8);

    std::string out = argv[argc - 1];
    mkdir(out.c_str(), 0755);
    if (icons) {
        if (WriteIcons(out)) return 0;
        fprintf(stderr, "mkdata: could not write the icons into %s\n", out.c_str());
        return 1;
    }
    std::string video = out + "/video/", audio = out + "/audio/";
    mkdir(video.c_str(), 0755);
    mkdir(audio.c_str(), 0755);

    bool ok = WriteSheets(video) && WriteIcon(video) && WriteSounds(audio) && WriteMusic(audio);
    if (!ok) fprintf(stderr, "mkdata: could not write everything into %s\n", out.c_str());
    return ok ? 0 : 1;
}
