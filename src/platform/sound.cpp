// Sound start-up. The sound drivers print a dozen lines of their own on a
// machine without a sound card (and the set-up may run twice); they are sent
// to /dev/null while the drivers start, and one line of ours says what that
// means for the player.

#include "platform/sound.h"

#include <allegro.h>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

static const char *sound_config;  // the drivers' settings laid over the library's config

static void InstallSound() {
    // The intro music plays on Allegro's software synthesiser with the
    // instrument patches that come with our data (read again when music
    // starts). Without digital voices the synthesiser cannot start: then
    // sound comes up without it.
    sound_config = "[sound]\nmidi_card = DIGI\npatches = data/audio/default.cfg\n";
    SoundReapplyConfig();
    if (install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, NULL) != 0) {
        sound_config = "[sound]\n";
        SoundReapplyConfig();
        install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, NULL);
    }
}

void SoundReapplyConfig() {
    if (sound_config) override_config_data(sound_config, (int)strlen(sound_config));
}

void SoundStart() {
    fflush(stderr);
    int saved = dup(2), quiet = open("/dev/null", O_WRONLY);
    if (saved >= 0 && quiet >= 0) dup2(quiet, 2);
    if (quiet >= 0) close(quiet);
    InstallSound();
    if (saved >= 0) {
        dup2(saved, 2);
        close(saved);
    }
    if (digi_card == DIGI_NONE) fprintf(stderr, "earthguard: no sound device found, playing without sound\n");
}
