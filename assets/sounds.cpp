// sounds.cpp -- additive and FM synthesis with simple envelopes. The music
// is rendered into a ring as long as the loop, so notes that ring past the
// end carry on at its start and the loop joins without a click.
#include "assets/sounds.h"
#include "assets/paint.h"
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

static const double TAU = 6.283185307179586;

// Writes samples (-1..1) as a 16-bit mono WAV file at the given rate.
static void writeWav(const char *path, const std::vector<float> &samples, int rate)
{
    FILE *f = fopen(path, "wb");
    if (!f) {
        fprintf(stderr, "tumblegrid-assets: cannot write %s\n", path);
        exit(1);
    }
    auto put32 = [f](unsigned v) { for (int i = 0; i < 4; i++) fputc((v >> (8 * i)) & 255, f); };
    auto put16 = [f](unsigned v) { fputc(v & 255, f); fputc((v >> 8) & 255, f); };
    unsigned bytes = (unsigned)samples.size() * 2;
    fwrite("RIFF", 1, 4, f);
    put32(36 + bytes);
    fwrite("WAVEfmt ", 1, 8, f);
    put32(16); put16(1); put16(1); put32(rate); put32(rate * 2); put16(2); put16(16);
    fwrite("data", 1, 4, f);
    put32(bytes);
    for (float s : samples) {
        long v = lround(s * 32767.0);
        v = v > 32767 ? 32767 : (v < -32767 ? -32767 : v);
        put16((unsigned)(v & 0xFFFF));
    }
    fclose(f);
}

// Scales the samples so the loudest one reaches peak.
static void normalise(std::vector<float> &s, float peak)
{
    float most = 1e-6f;
    for (float v : s)
        most = std::fmax(most, std::fabs(v));
    for (float &v : s)
        v *= peak / most;
}

static double midiHz(int note)
{
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

void writeLandSound(const char *path)
{
    const int RATE = 22050, N = RATE * 12 / 100;
    std::vector<float> s(N);
    seedRandom(7);
    double phase = 0;
    for (int i = 0; i < N; i++) {
        double t = double(i) / RATE;
        double hz = 70 + 110 * std::exp(-t * 30);
        phase += TAU * hz / RATE;
        double body = std::sin(phase) * std::exp(-t * 38) * std::fmin(1.0, t * 600);
        double tap = (randomUnit() * 2 - 1) * std::exp(-t * 400) * 0.25;
        s[i] = float(body + tap);
    }
    // a gentle low-pass keeps the tap soft
    for (int i = 1; i < N; i++)
        s[i] = s[i - 1] + 0.35f * (s[i] - s[i - 1]);
    normalise(s, 0.55f);
    writeWav(path, s, RATE);
}

void writeClearSound(const char *path)
{
    // made at 44100 Hz an octave up and twice as fast: it is heard at half speed
    const int RATE = 44100, N = RATE * 60 / 100;
    std::vector<float> s(N, 0.0f);
    static const int notes[5] = {84, 88, 91, 96, 100};   // C6 E6 G6 C7 E7
    for (int k = 0; k < 5; k++) {
        int start = int(k * 0.045 * RATE);
        double hz = midiHz(notes[k]);
        for (int i = start; i < N; i++) {
            double t = double(i - start) / RATE;
            double env = std::exp(-t * 9) * std::fmin(1.0, t * 2000);
            double index = 2.2 * std::exp(-t * 14);
            double mod = index * std::sin(TAU * hz * 3.5 * t);
            s[i] += float(env * (std::sin(TAU * hz * t + mod) + 0.3 * std::sin(TAU * hz * 2 * t)) * 0.3);
        }
    }
    seedRandom(11);
    for (int i = 0; i < N; i++) {
        double t = double(i) / RATE;
        // a fizz of sparkle that fades out over the first half
        s[i] += float((randomUnit() * 2 - 1) * 0.05 * std::exp(-t * 7) * (0.5 + 0.5 * std::sin(TAU * 31 * t)));
        s[i] *= float(std::fmin(1.0, (N - i) / (0.05 * RATE)));
    }
    normalise(s, 0.8f);
    writeWav(path, s, RATE);
}

// --- music -----------------------------------------------------------------

static const int MUSIC_RATE = 22050;
static const double BEAT = 0.5;          // 120 beats a minute
static const int BARS = 16;

// One melody note: start and length in beats within its bar, MIDI note.
struct Note {
    double start, length;
    int note;
};

// Adds a sound into the loop, wrapping past its end to its start.
static void addWrapped(std::vector<float> &loop, double at, int i, float v)
{
    size_t n = loop.size();
    loop[(size_t(at * MUSIC_RATE) + i) % n] += v;
}

static void playMelodyNote(std::vector<float> &loop, double at, double length, int note)
{
    double hz = midiHz(note), dur = length * BEAT;
    int n = int((dur + 0.35) * MUSIC_RATE);
    for (int i = 0; i < n; i++) {
        double t = double(i) / MUSIC_RATE;
        double env = std::fmin(1.0, t * 300) * std::exp(-t * 2.2) * (t < dur ? 1.0 : std::exp(-(t - dur) * 14));
        double mod = 1.4 * std::exp(-t * 5) * std::sin(TAU * hz * t);
        double v = std::sin(TAU * hz * t + mod) + 0.18 * std::sin(TAU * hz * 2 * t) * std::exp(-t * 3);
        addWrapped(loop, at, i, float(0.26 * env * v));
    }
}

static void playBassNote(std::vector<float> &loop, double at, int note)
{
    double hz = midiHz(note);
    int n = int(0.45 * MUSIC_RATE);
    for (int i = 0; i < n; i++) {
        double t = double(i) / MUSIC_RATE;
        double env = std::fmin(1.0, t * 400) * std::exp(-t * 6);
        double v = std::sin(TAU * hz * t) + 0.35 * std::sin(TAU * hz * 2 * t) + 0.12 * std::sin(TAU * hz * 3 * t);
        addWrapped(loop, at, i, float(0.3 * env * v));
    }
}

static void playPadChord(std::vector<float> &loop, double at, const int chord[3])
{
    int n = int(4 * BEAT * MUSIC_RATE) + MUSIC_RATE / 4;
    for (int k = 0; k < 3; k++) {
        double hz = midiHz(chord[k]);
        for (int i = 0; i < n; i++) {
            double t = double(i) / MUSIC_RATE;
            double env = std::fmin(1.0, t * 4) * std::fmin(1.0, (n - i) / (0.3 * MUSIC_RATE));
            double v = std::sin(TAU * hz * t) + 0.25 * std::sin(TAU * hz * 2.003 * t);
            addWrapped(loop, at, i, float(0.045 * env * v));
        }
    }
}

static void playDrum(std::vector<float> &loop, double at, int kind)
{
    int n = int(0.25 * MUSIC_RATE);
    double phase = 0, last = 0;
    for (int i = 0; i < n; i++) {
        double t = double(i) / MUSIC_RATE, noise = randomUnit() * 2 - 1, v = 0;
        if (kind == 0) {            // kick: a falling sine
            phase += TAU * (45 + 90 * std::exp(-t * 35)) / MUSIC_RATE;
            v = 0.5 * std::sin(phase) * std::exp(-t * 14);
        } else if (kind == 1) {     // snare: noise over a short tone
            v = (0.16 * noise + 0.12 * std::sin(TAU * 190 * t)) * std::exp(-t * 22);
        } else {                    // hat: the noise's high part, very short
            v = 0.07 * (noise - last) * std::exp(-t * 70);
        }
        last = noise;
        addWrapped(loop, at, i, float(v));
    }
}

void writeMusic(const char *path)
{
    static const Note phraseA[4][6] = {
        {{0, 1, 76}, {1, .5, 72}, {1.5, .5, 74}, {2, 1, 76}, {3, 1, 81}, {0, 0, 0}},
        {{0, .5, 79}, {.5, .5, 77}, {1, 1, 76}, {2, 1.5, 72}, {3.5, .5, 69}, {0, 0, 0}},
        {{0, 1, 72}, {1, .5, 76}, {1.5, .5, 79}, {2, 1, 84}, {3, .5, 83}, {3.5, .5, 79}},
        {{0, 1.5, 74}, {1.5, .5, 71}, {2, 1, 74}, {3, 1, 67}, {0, 0, 0}, {0, 0, 0}},
    };
    static const Note phraseB[4][6] = {
        {{0, 1.5, 81}, {1.5, .5, 79}, {2, 1, 76}, {3, 1, 72}, {0, 0, 0}, {0, 0, 0}},
        {{0, 1, 77}, {1, 1, 81}, {2, 1.5, 84}, {3.5, .5, 81}, {0, 0, 0}, {0, 0, 0}},
        {{0, 1.5, 79}, {1.5, .5, 76}, {2, .5, 79}, {2.5, .5, 81}, {3, 1, 79}, {0, 0, 0}},
        {{0, .5, 74}, {.5, .5, 76}, {1, 1, 79}, {2, 2, 83}, {0, 0, 0}, {0, 0, 0}},
    };
    static const Note turnA[6] = {{0, 1, 71}, {1, 1, 74}, {2, 1.5, 79}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
    static const Note turnEnd[6] = {{0, 1, 74}, {1, 1, 71}, {2, 1, 67}, {3, .5, 71}, {3.5, .5, 74}, {0, 0, 0}};
    static const int roots[4] = {45, 41, 48, 43};                       // A F C G
    static const int chords[4][3] = {{57, 60, 64}, {53, 57, 60}, {55, 60, 64}, {55, 59, 62}};

    std::vector<float> loop(size_t(BARS * 4 * BEAT * MUSIC_RATE), 0.0f);
    seedRandom(23);
    for (int bar = 0; bar < BARS; bar++) {
        double at = bar * 4 * BEAT;
        int harmony = bar % 4, phrase = bar / 4;
        const Note *melody = phrase == 2 ? phraseB[harmony] : phraseA[harmony];
        if (harmony == 3 && phrase == 1)
            melody = turnA;
        if (harmony == 3 && phrase == 3)
            melody = turnEnd;
        for (int k = 0; k < 6; k++)
            if (melody[k].length > 0)
                playMelodyNote(loop, at + melody[k].start * BEAT, melody[k].length, melody[k].note);
        static const int bassSteps[8] = {0, 0, 12, 0, 7, 0, 12, 7};
        for (int e = 0; e < 8; e++)
            playBassNote(loop, at + e * BEAT / 2, roots[harmony] + bassSteps[e]);
        playPadChord(loop, at, chords[harmony]);
        for (int beat = 0; beat < 4; beat++) {
            playDrum(loop, at + beat * BEAT, beat % 2 == 0 ? 0 : 1);
            playDrum(loop, at + beat * BEAT + BEAT / 2, 2);
            if (phrase > 0)
                playDrum(loop, at + beat * BEAT, 2);
        }
    }
    normalise(loop, 0.8f);
    writeWav(path, loop, MUSIC_RATE);
}
