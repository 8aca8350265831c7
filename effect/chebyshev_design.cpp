// Chebyshev design: prototype poles warped for the ripple, bilinear transform, frequency transformation.
#include "effect/chebyshev_design.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

// The double values of the float numbers nearest to pi and 2 pi.
constexpr double kPi = 3.1415927410125732;
constexpr double kTwoPi = 6.2831854820251465;

float f32(double value) {
    return static_cast<float>(value);
}
double f64(float value) {
    return static_cast<double>(value);
}

struct Section {
    float a0, a1, a2, b1, b2;
};

// The log term of the ripple warp, rounded at the same points as the rest of the design.
float warpLog(float es, double sign, double inversePoles) {
    double inverseEs = 1.0 / f64(es);
    float radicand = f32(inverseEs * inverseEs + sign);
    float root = f32(std::sqrt(f64(radicand)));
    float sum = f32(f64(root) + inverseEs);
    float logarithm = f32(std::log(f64(sum)));
    return f32(f64(logarithm) * inversePoles);
}

Section designSection(FilterKind kind, int pair, int numPoles, float ripplePercent, float t, double k) {
    const double poles = numPoles;
    float theta = f32(kPi * pair / poles + kPi / (2.0 * poles));
    float rp = f32(-std::cos(f64(theta)));
    float ip = f32(std::sin(f64(theta)));

    if (ripplePercent != 0.0f) {
        float r = f32(100.0 / (100.0 - f64(ripplePercent)));
        float r2 = f32(f64(r) * f64(r));
        float es = f32(std::sqrt(f64(f32(f64(r2) - 1.0))));
        float vx = warpLog(es, 1.0, 1.0 / poles);
        float kx = warpLog(es, -1.0, 1.0 / poles);
        float kc = f32((f64(f32(std::exp(-f64(kx)))) + f64(f32(std::exp(f64(kx))))) * 0.5);
        float growth = f32(std::exp(f64(vx)));
        float decay = f32(std::exp(-f64(vx)));
        rp = f32(f64(rp) * (f64(growth) - f64(decay)) * 0.5 / f64(kc));
        ip = f32(f64(ip) * (f64(growth) + f64(decay)) * 0.5 / f64(kc));
    }

    // Bilinear transform of the pole pair.
    const double tt = f64(t) * f64(t);
    float m = f32(f64(rp) * f64(rp) + f64(ip) * f64(ip));
    float d = f32(4.0 - 4.0 * f64(rp) * f64(t) + f64(m) * tt);
    float x0 = f32(tt / f64(d));
    float x1 = f32(2.0 * tt / f64(d));
    float x2 = x0;
    float y1 = f32((8.0 - 2.0 * f64(m) * tt) / f64(d));
    float y2 = f32((-4.0 - 4.0 * f64(rp) * f64(t) - f64(m) * tt) / f64(d));

    // Low-pass to low-pass or low-pass to high-pass transformation to the cut-off.
    const double kk = k * k;
    float dk = f32(1.0 + f64(y1) * k - f64(y2) * kk);
    Section s{};
    s.a0 = f32((f64(x0) - f64(x1) * k + f64(x2) * kk) / f64(dk));
    s.a1 = f32((-2.0 * f64(x0) * k + f64(x1) + f64(x1) * kk - 2.0 * f64(x2) * k) / f64(dk));
    s.a2 = f32((f64(x0) * kk - f64(x1) * k + f64(x2)) / f64(dk));
    s.b1 = f32((2.0 * k + f64(y1) + f64(y1) * kk - 2.0 * f64(y2) * k) / f64(dk));
    s.b2 = f32((-kk - f64(y1) * k + f64(y2)) / f64(dk));
    if (kind == FilterKind::HighPass) {
        s.a1 = -s.a1;
        s.b1 = -s.b1;
    }
    return s;
}

// With P = 2 the poles lie strictly inside the unit circle when |b2| < 1 and |b1| < 1 - b2. Float
// coefficients cannot resolve the poles of the lowest cut-offs at high sample rates, and rounding can
// put a pole on or just outside the circle; such a coefficient moves by the fewest float steps toward
// zero that bring the pole back inside. Designs that are already stable are left exactly as they are.
void keepPolesInside(Coefficients& b) {
    constexpr int kMaximumSteps = 64;
    float& b1 = b[1];
    float& b2 = b[2];
    for (int i = 0; i < kMaximumSteps && !(std::abs(f64(b2)) < 1.0); ++i) {
        b2 = std::nextafter(b2, 0.0f);
    }
    for (int i = 0; i < kMaximumSteps && !(std::abs(f64(b1)) < 1.0 - f64(b2)); ++i) {
        b1 = std::nextafter(b1, 0.0f);
    }
}

}  // namespace

float usableCutoff(float fc) {
    if (!(fc > kMinimumCutoff)) {
        return kMinimumCutoff;
    }
    return std::min(fc, kMaximumCutoff);
}

void designChebyshev(FilterKind kind, float fc, float ripplePercent, int numPoles, Coefficients& a, Coefficients& b) {
    Coefficients ta{};
    Coefficients tb{};
    std::fill(std::begin(a), std::end(a), 0.0f);
    std::fill(std::begin(b), std::end(b), 0.0f);
    a[2] = 1.0f;
    b[2] = 1.0f;

    const int pairs = numPoles / 2;
    if (pairs >= 1) {
        float t = f32(std::tan(0.5));
        float twoT = f32(2.0 * f64(t));
        float w = f32(f64(fc) * kTwoPi);
        double halfW = f64(w) / 2.0;
        float k;
        if (kind == FilterKind::LowPass) {
            float numerator = f32(std::sin(f64(f32(0.5 - halfW))));
            float denominator = f32(std::sin(f64(f32(halfW + 0.5))));
            k = f32(f64(numerator) / f64(denominator));
        } else {
            float numerator = f32(std::cos(f64(f32(halfW + 0.5))));
            float denominator = f32(std::cos(f64(f32(halfW - 0.5))));
            k = f32(-f64(numerator) / f64(denominator));
        }
        for (int pair = 0; pair < pairs; ++pair) {
            Section s = designSection(kind, pair, numPoles, ripplePercent, twoT, f64(k));
            std::copy(std::begin(a), std::end(a), std::begin(ta));
            std::copy(std::begin(b), std::end(b), std::begin(tb));
            for (std::size_t i = 2; i < kCoefficientCount; ++i) {
                a[i] = f32(f64(s.a0) * f64(ta[i]) + f64(s.a1) * f64(ta[i - 1]) + f64(s.a2) * f64(ta[i - 2]));
                b[i] = f32(f64(tb[i]) - f64(s.b1) * f64(tb[i - 1]) - f64(s.b2) * f64(tb[i - 2]));
            }
        }
    }

    b[2] = 0.0f;
    for (std::size_t i = 0; i + 2 < kCoefficientCount; ++i) {
        a[i] = a[i + 2];
        b[i] = -b[i + 2];
    }
    if (numPoles == 2) {
        keepPolesInside(b);
    }

    // Unity gain at zero frequency (low-pass) or at half the sample rate (high-pass).
    float sumA = 0.0f;
    float sumB = 0.0f;
    for (std::size_t i = 0; i + 2 < kCoefficientCount; ++i) {
        bool negate = kind == FilterKind::HighPass && i % 2 == 1;
        sumA = f32(f64(sumA) + (negate ? -f64(a[i]) : f64(a[i])));
        sumB = f32(f64(sumB) + (negate ? -f64(b[i]) : f64(b[i])));
    }
    float gain = f32(f64(sumA) / (1.0 - f64(sumB)));
    for (std::size_t i = 0; i + 2 < kCoefficientCount; ++i) {
        a[i] = f32(f64(a[i]) / f64(gain));
    }
}
