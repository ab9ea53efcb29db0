// The greeting jingle: a rising arpeggio of soft bells that settles on a
// chord, 36,960 samples at 16 kHz. It starts and ends at exactly zero, so
// playback never clicks.
#include "artwork.h"

#include <algorithm>
#include <cmath>

namespace vkgen {

namespace {

constexpr int kSampleRate = 16000;
constexpr int kSampleCount = 36960;
constexpr double kAttack = 0.008;      // seconds: soft enough not to tick
constexpr double kEndFade = 0.30;      // seconds of fade into silence at the end
constexpr double kPeak = 0.55;         // of full scale

struct Note {
    double start;      // seconds
    double frequency;  // Hz
    double loudness;
};

// Bell partials: a slightly stretched harmonic series, each dying faster.
struct Partial {
    double ratio, amplitude, decay;
};
constexpr Partial kPartials[] = {
    {1.0, 1.0, 2.6}, {2.0, 0.32, 4.5}, {3.01, 0.10, 7.0}, {4.18, 0.12, 9.0}, {5.43, 0.04, 12.0},
};

}  // namespace

std::vector<std::int16_t> synthesizeGreeting()
{
    const Note notes[] = {
        {0.00, 783.99, 0.70},   // G5
        {0.16, 1046.50, 0.70},  // C6
        {0.32, 1318.51, 0.70},  // E6
        {0.48, 1567.98, 0.75},  // G6
        {0.78, 1046.50, 0.45},  // final chord: C6 E6 G6 under C7
        {0.78, 1318.51, 0.40},
        {0.78, 1567.98, 0.40},
        {0.80, 2093.00, 0.60},
    };
    std::vector<double> mix(kSampleCount, 0.0);
    for (const Note& note : notes) {
        int first = int(std::lround(note.start * kSampleRate));
        for (int i = first; i < kSampleCount; ++i) {
            double t = double(i - first) / kSampleRate;
            double attack = t < kAttack ? 0.5 - 0.5 * std::cos(M_PI * t / kAttack) : 1.0;
            double v = 0;
            for (const Partial& p : kPartials)
                v += p.amplitude * std::exp(-p.decay * t) * std::sin(2 * M_PI * note.frequency * p.ratio * t);
            mix[size_t(i)] += note.loudness * attack * v;
        }
    }
    const int fadeStart = kSampleCount - int(kEndFade * kSampleRate);
    for (int i = fadeStart; i < kSampleCount; ++i) {
        double u = double(i - fadeStart) / (kSampleCount - 1 - fadeStart);
        mix[size_t(i)] *= 0.5 + 0.5 * std::cos(M_PI * u);
    }
    double peak = 0;
    for (double v : mix)
        peak = std::max(peak, std::fabs(v));
    const double scale = kPeak * 32767.0 / peak;
    std::vector<std::int16_t> samples(kSampleCount);
    for (size_t i = 0; i < mix.size(); ++i)
        samples[i] = std::int16_t(std::lround(mix[i] * scale));
    samples.front() = 0;
    samples.back() = 0;
    return samples;
}

}  // namespace vkgen
