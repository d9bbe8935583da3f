// The sound effects: short mono 16-bit WAV files synthesised from
// oscillators and filtered noise. Each is faded in and out so it never
// clicks, and levelled to a loudness chosen for the fixed volume the game
// plays it at, so that all of them balance in play.

#include "mkdata.h"
#include "art.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

const int RATE = 22050;
const double PI = 3.14159265358979323846;

typedef std::vector<double> Wave;

Wave Silence(double seconds) {
    return Wave((size_t)(seconds * RATE), 0.0);
}

double Secs(size_t i) {
    return (double)i / RATE;
}

// A tone gliding exponentially from f0 to f1 Hz over the sound, with an
// exponential decay; `bright` mixes odd harmonics in (0 sine .. 1 squarish).
void Tone(Wave &s, double f0, double f1, double decay, double amp, double bright, double start = 0) {
    double phase = 0, len = Secs(s.size()) - start;
    for (size_t i = (size_t)(start * RATE); i < s.size(); i++) {
        double t = Secs(i) - start;
        double f = f0 * pow(f1 / f0, t / len);
        phase += 2 * PI * f / RATE;
        double v = sin(phase) + bright * (sin(3 * phase) / 3 + sin(5 * phase) / 5 + sin(7 * phase) / 7);
        s[i] += amp * v * exp(-t * decay);
    }
}

// Noise through a low-pass filter whose cut-off falls from c0 to c1 Hz,
// decaying; a little of it held in steps (crunch) when `crush` > 1.
void Rumble(Wave &s, double c0, double c1, double decay, double amp, uint32_t seed, int crush = 1,
            double start = 0) {
    Rng n(seed);
    double y1 = 0, y2 = 0, held = 0, len = Secs(s.size()) - start;
    for (size_t i = (size_t)(start * RATE); i < s.size(); i++) {
        double t = Secs(i) - start;
        if (i % crush == 0) held = n.Unit() * 2 - 1;
        double c = c0 * pow(c1 / c0, t / len), a = 1 - exp(-2 * PI * c / RATE);
        y1 += a * (held - y1);
        y2 += a * (y1 - y2);  // two poles: a softer, rounder roar
        s[i] += amp * y2 * exp(-t * decay) * 2;
    }
}

// Removes any DC offset with a gentle high-pass (20 Hz).
void HighPass(Wave &s) {
    double a = exp(-2 * PI * 20 / RATE), prev = 0, out = 0;
    for (double &v : s) {
        out = a * (out + v - prev);
        prev = v;
        v = out;
    }
}

// The loudest 50 ms of the sound, as RMS.
double PeakLoudness(const Wave &s) {
    size_t w = RATE / 20;
    double best = 0, sum = 0;
    for (size_t i = 0; i < s.size(); i++) {
        sum += s[i] * s[i];
        if (i >= w) sum -= s[i - w] * s[i - w];
        best = std::max(best, sum);
    }
    return sqrt(best / std::min(w, s.size()));
}

void Put16(FILE *f, int v) {
    fputc(v & 255, f);
    fputc((v >> 8) & 255, f);
}

void Put32(FILE *f, uint32_t v) {
    Put16(f, v & 0xffff);
    Put16(f, v >> 16);
}

// Levels the sound to `loud` (RMS of its loudest 50 ms), limits its peaks
// softly, fades 3 ms in and 25 ms out, and writes 16-bit PCM.
bool SaveWav(const std::string &path, Wave s, double loud) {
    HighPass(s);
    double g = loud / std::max(1e-9, PeakLoudness(s));
    size_t in = RATE * 3 / 1000, out = RATE * 25 / 1000;
    for (size_t i = 0; i < s.size(); i++) {
        double v = s[i] * g;
        v = std::abs(v) < 0.7 ? v : (v > 0 ? 1 : -1) * (0.7 + 0.28 * tanh((std::abs(v) - 0.7) / 0.28));
        if (i < in) v *= (double)i / in;
        if (i + out > s.size()) v *= (double)(s.size() - i) / out;
        s[i] = v;
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

// The player's shot: a bright laser zap falling in pitch.
Wave Shot() {
    Wave s = Silence(0.16);
    Tone(s, 1900, 320, 18, 1.0, 0.6);
    Tone(s, 2850, 480, 26, 0.35, 0.2);
    Rumble(s, 6000, 2000, 60, 0.3, 3);
    return s;
}

// An alien hit: a short metallic clank.
Wave Hit() {
    Wave s = Silence(0.09);
    Tone(s, 620, 560, 45, 1.0, 0.8);
    Tone(s, 1370, 1300, 60, 0.6, 0.3);
    Rumble(s, 5000, 1500, 90, 0.5, 5);
    return s;
}

// An alien blown up: a crunchy burst that darkens as it fades.
Wave SmallBoom() {
    Wave s = Silence(0.45);
    Rumble(s, 5000, 300, 8, 1.0, 11, 3);
    Tone(s, 300, 60, 14, 0.5, 0.7);
    return s;
}

// A ship lost: a big explosion with a deep tail.
Wave BigBoom() {
    Wave s = Silence(1.3);
    Rumble(s, 2500, 120, 3.2, 1.0, 22, 2);
    Tone(s, 110, 32, 4, 0.7, 0.1);
    Rumble(s, 8000, 2000, 25, 0.4, 23);  // the crack at the start
    return s;
}

// The mother ship's bomb bursting: the heaviest blast, with debris.
Wave HeavyBoom() {
    Wave s = Silence(1.6);
    Tone(s, 70, 28, 3, 1.0, 0.05);
    Rumble(s, 1800, 80, 2.3, 1.0, 33, 2);
    Rumble(s, 6000, 1500, 18, 0.5, 34);
    for (int k = 0; k < 6; k++) Rumble(s, 3000, 800, 30, 0.25, 40 + k, 1, 0.25 + 0.12 * k);  // falling debris
    return s;
}

// A falling bomb: a long whistle sliding down, swelling as it comes.
Wave Whistle() {
    Wave s = Silence(2.8);
    double phase = 0;
    for (size_t i = 0; i < s.size(); i++) {
        double t = Secs(i), f = 2100 * pow(520 / 2100.0, t / 2.8) * (1 + 0.006 * sin(2 * PI * 6 * t));
        phase += 2 * PI * f / RATE;
        s[i] = sin(phase) * (0.45 + 0.55 * t / 2.8);
    }
    Rumble(s, 3000, 1500, 0, 0.08, 7);  // air
    return s;
}

// The bell of the menu cursor and of a bonus taken: a bright ding.
Wave Bell() {
    Wave s = Silence(0.6);
    const double f = 1318.5;  // E6
    Tone(s, f, f, 6, 1.0, 0);
    Tone(s, f * 2.76, f * 2.76, 11, 0.45, 0);
    Tone(s, f * 5.4, f * 5.4, 18, 0.25, 0);
    Tone(s, f * 0.5, f * 0.5, 9, 0.2, 0);
    return s;
}

// The shop's refusal: two low buzzes.
Wave Refusal() {
    Wave s = Silence(0.34);
    // Each buzz opens and closes over 2 ms so that it does not click.
    auto pulse = [](double t, double a, double b) {
        return std::clamp(std::min(t - a, b - t) / 0.002, 0.0, 1.0);
    };
    for (size_t i = 0; i < s.size(); i++) {
        double t = Secs(i);
        double v = sin(2 * PI * 155 * t) + sin(2 * PI * 155 * 3 * t) / 3 + sin(2 * PI * 155 * 5 * t) / 5 +
                   0.5 * sin(2 * PI * 161 * t);
        s[i] = v * (pulse(t, 0, 0.13) + pulse(t, 0.18, 0.31));
    }
    return s;
}

// A purchase: the register's clunk, then its "ching" and a rattle of coins.
Wave Register() {
    Wave s = Silence(0.7);
    Rumble(s, 3000, 600, 40, 0.8, 9);
    Tone(s, 180, 120, 30, 0.6, 0.5);
    Tone(s, 2093, 2093, 5, 0.8, 0, 0.07);
    Tone(s, 2637, 2637, 6, 0.6, 0, 0.07);
    Tone(s, 3136, 3136, 8, 0.4, 0, 0.09);
    for (int k = 0; k < 5; k++) Tone(s, 4200 + 300 * k, 4100 + 300 * k, 40, 0.18, 0.2, 0.2 + 0.05 * k);
    return s;
}

}  // namespace

bool WriteSounds(const std::string &dir) {
    // Loudness targets: what each sound should reach after the game's fixed
    // volume (shot 150; ship lost, bell and shop 120; alien hit and blast 50;
    // mother-ship bomb 80), so the frequent ones stay in the background.
    return SaveWav(dir + "fire1.wav", Shot(), 0.13) && SaveWav(dir + "hit1.wav", Hit(), 0.30) &&
           SaveWav(dir + "boom1.wav", SmallBoom(), 0.38) && SaveWav(dir + "boom2.wav", BigBoom(), 0.30) &&
           SaveWav(dir + "boom3.wav", HeavyBoom(), 0.36) && SaveWav(dir + "fiii1.wav", Whistle(), 0.20) &&
           SaveWav(dir + "bell1.wav", Bell(), 0.15) && SaveWav(dir + "error.wav", Refusal(), 0.14) &&
           SaveWav(dir + "cash.wav", Register(), 0.16);
}
