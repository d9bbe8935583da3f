// The instruments of the intro music: the General MIDI programs the score
// uses and our own patches for them, and the drum notes.

#pragma once

#include <string>

enum {
    PROG_BASS = 38,     // synth bass
    PROG_STRINGS = 48,  // string ensemble
    PROG_BRASS = 61,    // brass section
    PROG_LEAD = 80,     // square lead
};

// Writes the GUS patch set for DIGMID: default.cfg and one .pat a voice.
bool WritePatches(const std::string &dir);
