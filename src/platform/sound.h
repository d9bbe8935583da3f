// Sound start-up, quiet: on a machine without a sound card the sound
// drivers print a dozen lines of their own (and the set-up may run twice).
#pragma once

// install_sound() with the drivers' own messages sent to /dev/null.
int InstallSoundQuietly(int digi, int midi);
