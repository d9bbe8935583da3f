// The sound effects: short mono 16-bit WAV files synthesised from
// oscillators and noise, faded in and out so they never click.

#include "mkdata.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

const int RATE = 22050;
const double PI = 3.14159265358979323846;

struct Noise {
    uint32_t state = 12345;
    double Next() {  // -1..1
        state = state * 1664525u + 1013904223u;
        return (double)(state >> 8) / (double)(1 << 23) - 1.0;
    }
};

std::vector<double> Silence(double seconds) {
    return std::vector<double>((size_t)(seconds * RATE), 0.0);
}

// A tone sliding from f0 to f1 Hz with an exponential decay.
void Tone(std::vector<double> &s, double f0, double f1, double decay, double amp, bool square) {
    double phase = 0;
    for (size_t i = 0; i < s.size(); i++) {
        double t = (double)i / RATE, len = (double)s.size() / RATE;
        double f = f0 + (f1 - f0) * t / len;
        phase += 2 * PI * f / RATE;
        double v = square ? (sin(phase) >= 0 ? 1 : -1) : sin(phase);
        s[i] += amp * v * exp(-t * decay);
    }
}

// Noise through a one-pole low-pass filter, decaying.
void Rumble(std::vector<double> &s, double cutoff, double decay, double amp, uint32_t seed) {
    Noise n;
    n.state = seed;
    double a = 1 - exp(-2 * PI * cutoff / RATE), y = 0;
    for (size_t i = 0; i < s.size(); i++) {
        y += a * (n.Next() - y);
        s[i] += amp * y * exp(-(double)i / RATE * decay);
    }
}

void Put16(FILE *f, int v) {
    fputc(v & 255, f);
    fputc((v >> 8) & 255, f);
}

void Put32(FILE *f, uint32_t v) {
    Put16(f, v & 0xffff);
    Put16(f, v >> 16);
}

// Normalises to the peak, fades 3 ms in and 20 ms out, and writes 16-bit PCM.
bool SaveWav(const std::string &path, std::vector<double> s, double peak) {
    double top = 1e-9;
    for (double v : s) top = std::max(top, fabs(v));
    size_t in = RATE * 3 / 1000, out = RATE * 20 / 1000;
    for (size_t i = 0; i < s.size(); i++) {
        double g = peak / top;
        if (i < in) g *= (double)i / in;
        if (i + out > s.size()) g *= (double)(s.size() - i) / out;
        s[i] *= g;
    }
    FILE *f = fopen(path.c_str(), "wb");
    if (!f) return false;
    uint32_t bytes = (uint32_t)s.size() * 2;
    fwrite("RIFF", 1, 4, f);
    Put32(f, 36 + bytes);
    fwrite("WAVEfmt ", 1, 8, f);
    Put32(f, 16);
    Put16(f, 1);  // PCM
    Put16(f, 1);  // mono
    Put32(f, RATE);
    Put32(f, RATE * 2);
    Put16(f, 2);
    Put16(f, 16);
    fwrite("data", 1, 4, f);
    Put32(f, bytes);
    for (double v : s) Put16(f, (int)lrint(v * 32767));
    return fclose(f) == 0;
}

}  // namespace

bool WriteSounds(const std::string &dir) {
    std::vector<double> fire = Silence(0.18), hit = Silence(0.10), boom1 = Silence(0.45),
                        boom2 = Silence(0.9), boom3 = Silence(1.2), fiii = Silence(1.3), bell = Silence(0.6),
                        error = Silence(0.35), cash = Silence(0.5);
    Tone(fire, 1400, 500, 14, 1.0, true);
    Tone(hit, 900, 700, 30, 1.0, true);
    Rumble(boom1, 1800, 7, 1.0, 11);
    Rumble(boom2, 900, 4, 1.0, 22);
    Tone(boom2, 90, 40, 5, 0.4, false);
    Rumble(boom3, 500, 2.5, 1.0, 33);
    Tone(boom3, 60, 30, 3, 0.5, false);
    Tone(fiii, 2200, 500, 0.5, 1.0, false);
    Tone(bell, 1320, 1320, 7, 1.0, false);
    Tone(bell, 2640, 2640, 11, 0.4, false);
    Tone(error, 140, 130, 2, 1.0, true);
    Tone(cash, 1760, 1760, 9, 0.8, false);
    Tone(cash, 2637, 2637, 9, 0.6, false);
    return SaveWav(dir + "fire1.wav", fire, 0.7) && SaveWav(dir + "hit1.wav", hit, 0.6) &&
           SaveWav(dir + "boom1.wav", boom1, 0.9) && SaveWav(dir + "boom2.wav", boom2, 0.95) &&
           SaveWav(dir + "boom3.wav", boom3, 0.95) && SaveWav(dir + "fiii1.wav", fiii, 0.6) &&
           SaveWav(dir + "bell1.wav", bell, 0.7) && SaveWav(dir + "error.wav", error, 0.6) &&
           SaveWav(dir + "cash.wav", cash, 0.7);
}
