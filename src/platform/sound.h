// Sound start-up, quiet: the drivers' own complaints are not shown.
#pragma once

// Starts digital sound and Allegro's software synthesiser with our patch set;
// without a sound device, says in one line that the game plays silent.
void SoundStart();
// Lays the sound drivers' settings over the library's config again, after
// something took them off.
void SoundReapplyConfig();
