// mkdata: writes every picture, sound and piece of music the game loads.
//
//   mkdata OUTDIR    writes OUTDIR/video/*.bmp and OUTDIR/audio/*
//
// Everything is drawn or synthesised here from code; the output is the same
// byte for byte on every run.

#include "mkdata.h"

#include <cstdio>
#include <string>
#include <sys/stat.h>

int main(int argc, char **argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: mkdata OUTDIR\n");
        return 2;
    }
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        fprintf(stderr, "mkdata: cannot start Allegro\n");
        return 1;
    }
    set_color_depth(8);

    std::string out = argv[1];
    mkdir(out.c_str(), 0755);
    std::string video = out + "/video/", audio = out + "/audio/";
    mkdir(video.c_str(), 0755);
    mkdir(audio.c_str(), 0755);

    bool ok = WriteSheets(video) && WriteSounds(audio) && WriteMusic(audio);
    if (!ok) fprintf(stderr, "mkdata: could not write everything into %s\n", out.c_str());
    return ok ? 0 : 1;
}
