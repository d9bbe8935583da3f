// Our own instrument patches for Allegro's DIGMID software synthesiser, so
// that the intro music plays on a machine with no MIDI synthesiser and no
// patch set installed: Gravis-style .pat files (one 16-bit sample each)
// and the default.cfg index that maps General MIDI programs and drum notes
// to them. Sustained voices loop a whole number of waveform periods, so
// their loops are seamless.

#include "mkdata.h"
#include "music.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

const int RATE = 22050;
const double PI = 3.14159265358979323846;

struct Voice {
    std::vector<double> data;
    int loop_start = 0, loop_end = 0;  // in samples; no loop when equal
    double root;                       // Hz of the sample as it stands
    bool sustain;                      // held until the note ends
};

// A deterministic noise source.
struct Noise {
    uint32_t s;
    double Next() {
        s = s * 1664525u + 1013904223u;
        return (double)(s >> 8) / 8388608.0 - 1.0;
    }
};

// One period-exact tone: harmonic n of every detuned copy has amplitude
// weight(n, t) at time t (seconds); copies make `cycles[k]` cycles in
// `len` samples, so the sum repeats exactly every `len` samples.
template <typename W>
std::vector<double> Additive(int len, int total, const std::vector<int> &cycles, int harmonics, W weight) {
    std::vector<double> out(total, 0.0);
    uint32_t seed = 99;
    for (int c : cycles)
        for (int n = 1; n <= harmonics; n++) {
            seed = seed * 1103515245u + 12345u;
            double phase0 = (seed >> 8) / 16777216.0 * 2 * PI;
            double w = 2 * PI * n * c / len;
            if (n * (double)c / len * RATE > RATE * 0.45) break;  // above Nyquist: leave it out
            for (int i = 0; i < total; i++) out[i] += weight(n, (double)i / RATE) * sin(w * i + phase0);
        }
    return out;
}

// A sustained voice: an attack section of `len` samples whose harmonics
// settle to the steady tone, then one loop of the steady tone.
template <typename W> Voice Sustained(int period, int periods, int detune, W weight, double attack) {
    int len = period * periods;
    std::vector<int> cycles = {periods};
    if (detune) cycles = {periods - detune, periods, periods + detune};
    double settle = (double)len / RATE;
    std::vector<double> d = Additive(len, 2 * len, cycles, 40, [&](int n, double t) {
        return weight(n, std::min(t, settle) / settle);  // 0..1 through the attack, then 1
    });
    for (int i = 0; i < len; i++) d[i] *= std::min(1.0, (double)i / RATE / attack);
    Voice v;
    v.data = d;
    v.loop_start = len;
    v.loop_end = 2 * len;
    v.root = (double)RATE / period;
    v.sustain = true;
    return v;
}

// Low-pass weight of harmonic n of a tone of frequency f at cut-off c.
double LowPass(int n, double f, double c) {
    double x = n * f / c;
    return 1 / (1 + x * x);
}

Voice Strings() {
    const int P = 84;  // 262.5 Hz
    return Sustained(
        P, 128, 1, [](int n, double) { return LowPass(n, 262.5, 2200) / n; }, 0.18);
}

Voice Bass() {
    const int P = 336;  // 65.6 Hz
    return Sustained(
        P, 8, 0,
        [](int n, double t) {
            double cutoff = 380 + 2200 * (1 - t) * (1 - t);  // a plucked snap that closes
            return LowPass(n, 65.625, cutoff) / n * (n % 2 ? 1.0 : 0.6);
        },
        0.004);
}

Voice Lead() {
    const int P = 84;
    return Sustained(
        P, 64, 0, [](int n, double) { return n % 2 ? LowPass(n, 262.5, 3500) / n : 0.06 / n; }, 0.01);
}

Voice Brass() {
    const int P = 84;
    return Sustained(
        P, 128, 1, [](int n, double t) { return LowPass(n, 262.5, 700 + 2600 * std::min(1.0, t * 3)) / n; },
        0.03);
}

// One-shot drums: the sample plays through at its own pitch.
Voice Drum(double seconds, double root) {
    Voice v;
    v.data.assign((size_t)(seconds * RATE), 0.0);
    v.root = root;
    v.sustain = false;
    return v;
}

double MidiHz(int note) {
    return 440 * pow(2, (note - 69) / 12.0);
}

Voice Kick(int note) {
    Voice v = Drum(0.32, MidiHz(note));
    double phase = 0;
    Noise n{1};
    for (size_t i = 0; i < v.data.size(); i++) {
        double t = (double)i / RATE, f = 45 + 130 * exp(-t * 30);
        phase += 2 * PI * f / RATE;
        v.data[i] = sin(phase) * exp(-t * 9) + (t < 0.004 ? n.Next() * 0.5 : 0);
    }
    return v;
}

Voice Snare(int note) {
    Voice v = Drum(0.24, MidiHz(note));
    Noise n{2};
    double lp = 0, phase = 0;
    for (size_t i = 0; i < v.data.size(); i++) {
        double t = (double)i / RATE;
        lp += 0.55 * (n.Next() - lp);
        phase += 2 * PI * (185 - 30 * t) / RATE;
        v.data[i] = lp * exp(-t * 16) * 0.9 + sin(phase) * exp(-t * 28) * 0.6;
    }
    return v;
}

Voice Hat(int note) {
    Voice v = Drum(0.07, MidiHz(note));
    Noise n{3};
    double prev = 0;
    for (size_t i = 0; i < v.data.size(); i++) {
        double t = (double)i / RATE, x = n.Next();
        v.data[i] = (x - prev) * 0.5 * exp(-t * 60);  // high-passed: a tight tick
        prev = x;
    }
    return v;
}

Voice Tom(int note) {
    Voice v = Drum(0.3, MidiHz(note));
    double phase = 0;
    Noise n{4};
    for (size_t i = 0; i < v.data.size(); i++) {
        double t = (double)i / RATE, f = 100 + 60 * exp(-t * 12);
        phase += 2 * PI * f / RATE;
        v.data[i] = sin(phase) * exp(-t * 10) + n.Next() * 0.15 * exp(-t * 40);
    }
    return v;
}

Voice Crash(int note) {
    Voice v = Drum(1.4, MidiHz(note));
    Noise n{5};
    double prev = 0, lp = 0;
    static const double partials[] = {3150, 4210, 5330, 6770};
    for (size_t i = 0; i < v.data.size(); i++) {
        double t = (double)i / RATE, x = n.Next();
        lp += 0.6 * (x - prev - lp);
        prev = x;
        double ring = 0;
        for (double f : partials) ring += sin(2 * PI * f * t) * 0.08;
        v.data[i] = (lp * 0.8 + ring) * exp(-t * 2.6) * std::min(1.0, t / 0.002);
    }
    return v;
}

void Put(std::vector<unsigned char> &o, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; i++) o.push_back((v >> (8 * i)) & 255);
}

void PutText(std::vector<unsigned char> &o, const char *s, int size) {
    for (int i = 0; i < size; i++) o.push_back(i < (int)strlen(s) ? s[i] : 0);
}

// Writes one voice as a GF1 patch: header, instrument, layer, sample.
// Sustained voices are levelled by the loudness of their loop (`level` is
// its RMS), one-shots by their peak; no sample goes past full scale.
bool WritePat(const std::string &path, const char *name, Voice v, double level) {
    double peak = 1e-9, sum = 0;
    for (double x : v.data) peak = std::max(peak, std::abs(x));
    for (int i = v.loop_start; i < v.loop_end; i++) sum += v.data[i] * v.data[i];
    double gain = level / peak;
    if (v.loop_end > v.loop_start)
        gain = std::min(0.98 / peak, level / sqrt(sum / (v.loop_end - v.loop_start)));
    // A short fade at the end of one-shots, so they never click.
    if (v.loop_end == v.loop_start)
        for (size_t i = 0; i < 64 && i < v.data.size(); i++) v.data[v.data.size() - 1 - i] *= i / 64.0;
    std::vector<unsigned char> o;
    uint32_t bytes = (uint32_t)v.data.size() * 2;
    PutText(o, "GF1PATCH110", 12);
    PutText(o, "ID#000002", 10);
    PutText(o, "Earthguard patch (c) our own", 60);
    Put(o, 1, 1);      // instruments
    Put(o, 14, 1);     // voices
    Put(o, 0, 1);      // channels
    Put(o, 1, 2);      // waveforms
    Put(o, 127, 2);    // master volume
    Put(o, bytes, 4);  // data size
    PutText(o, "", 36);
    Put(o, 0, 2);  // instrument id
    PutText(o, name, 16);
    Put(o, bytes + 96 + 47, 4);
    Put(o, 1, 1);  // layers
    PutText(o, "", 40);
    Put(o, 0, 1);  // layer duplicate
    Put(o, 0, 1);  // layer id
    Put(o, bytes + 96, 4);
    Put(o, 1, 1);  // samples
    PutText(o, "", 40);
    PutText(o, name, 7);
    Put(o, 0, 1);  // loop fractions
    Put(o, bytes, 4);
    Put(o, v.loop_start * 2, 4);
    Put(o, v.loop_end * 2, 4);
    Put(o, RATE, 2);
    Put(o, 8176, 4);      // lowest key (milli-Hz)
    Put(o, 12543853, 4);  // highest key
    Put(o, (uint32_t)lrint(v.root * 1000), 4);
    Put(o, 0, 2);  // tune
    Put(o, 7, 1);  // balance: centre
    // Envelope: straight to full volume and held; released quickly after
    // the note ends. One-shots simply play through.
    static const unsigned char rate_held[6] = {63, 63, 63, 0x40 | 30, 63, 63};
    static const unsigned char offset_held[6] = {245, 245, 245, 8, 8, 8};
    for (int i = 0; i < 6; i++) Put(o, rate_held[i], 1);
    for (int i = 0; i < 6; i++) Put(o, offset_held[i], 1);
    PutText(o, "", 6);                   // no tremolo, no vibrato
    int mode = 1;                        // 16-bit signed
    if (v.sustain) mode |= 4 | 32 | 64;  // looped, sustained, enveloped
    Put(o, mode, 1);
    Put(o, 60, 2);    // scale frequency
    Put(o, 1024, 2);  // scale factor: normal keyboard
    PutText(o, "", 36);
    for (double x : v.data) Put(o, (uint32_t)(int16_t)lrint(x * gain * 32767), 2);
    FILE *f = fopen(path.c_str(), "wb");
    if (!f) return false;
    fwrite(o.data(), 1, o.size(), f);
    return fclose(f) == 0;
}

}  // namespace

bool WritePatches(const std::string &dir) {
    enum { KICK = 36, SNARE = 38, HAT = 42, TOM = 45, CRASH = 49 };
    bool ok = WritePat(dir + "strings.pat", "strings", Strings(), 0.16) &&
              WritePat(dir + "bass.pat", "bass", Bass(), 0.34) &&
              WritePat(dir + "lead.pat", "lead", Lead(), 0.15) &&
              WritePat(dir + "brass.pat", "brass", Brass(), 0.18) &&
              WritePat(dir + "kick.pat", "kick", Kick(KICK), 0.95) &&
              WritePat(dir + "snare.pat", "snare", Snare(SNARE), 0.8) &&
              WritePat(dir + "hat.pat", "hat", Hat(HAT), 0.5) &&
              WritePat(dir + "tom.pat", "tom", Tom(TOM), 0.85) &&
              WritePat(dir + "crash.pat", "crash", Crash(CRASH), 0.55);
    if (!ok) return false;
    // The index: melodic programs counted from 1, the drum kit as bank 129
    // with one patch per key.
    FILE *f = fopen((dir + "default.cfg").c_str(), "w");
    if (!f) return false;
    fprintf(f, "# Earthguard's own instruments for the intro music\n");
    fprintf(f, "%d bass\n%d strings\n%d brass\n%d lead\n", PROG_BASS + 1, PROG_STRINGS + 1, PROG_BRASS + 1,
            PROG_LEAD + 1);
    fprintf(f, "129 begin_multipatch\n%d kick\n%d snare\n%d hat\n%d tom\n%d crash\nend_multipatch\n", KICK,
            SNARE, HAT, TOM, CRASH);
    return fclose(f) == 0;
}
