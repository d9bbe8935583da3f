// The instrument set of the music (a GUS-style index and its patch files),
// checked before the library's synthesiser reads it: the synthesiser takes
// the files on trust, and a damaged one crashes, hangs or silences it.
#pragma once

#include <string>

// True when the index `cfg` and every patch it names are whole; otherwise
// *bad names the file at fault.
bool InstrumentsWhole(const std::string &cfg, std::string *bad);
