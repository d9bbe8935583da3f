// Sound start-up with the drivers' messages muted: the game says in one
// line of its own what a missing sound card means for the player.

#include "platform/sound.h"

#include <allegro.h>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

int InstallSoundQuietly(int digi, int midi) {
    fflush(stderr);
    int saved = dup(2), quiet = open("/dev/null", O_WRONLY);
    if (saved >= 0 && quiet >= 0) dup2(quiet, 2);
    if (quiet >= 0) close(quiet);
    int result = install_sound(digi, midi, NULL);
    if (saved >= 0) {
        dup2(saved, 2);
        close(saved);
    }
    return result;
}
