// Chebyshev coefficients, the frequency curve and the stability of every usable design.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "effect/chebyshev_design.h"
#include "effect/parameter_converter.h"
#include "host/frequency_scale.h"

namespace {

struct Design {
    Coefficients a;
    Coefficients b;
};

Design design(FilterKind kind, double hertz, double sampleRate) {
    Design d{};
    designChebyshev(kind, usableCutoff(static_cast<float>(hertz / sampleRate)), 0.5f, 2, d.a, d.b);
    return d;
}

double gainDb(const Design& d, double cyclesPerSample) {
    std::complex<double> z1 = std::polar(1.0, -kTwoPi * cyclesPerSample);
    std::complex<double> z2 = z1 * z1;
    std::complex<double> numerator = double(d.a[0]) + double(d.a[1]) * z1 + double(d.a[2]) * z2;
    std::complex<double> denominator = 1.0 - double(d.b[1]) * z1 - double(d.b[2]) * z2;
    return 20.0 * std::log10(std::abs(numerator / denominator));
}

// Both poles strictly inside the unit circle.
bool stable(const Design& d) {
    double b1 = d.b[1];
    double b2 = d.b[2];
    return std::abs(b2) < 1.0 && std::abs(b1) < 1.0 - b2;
}

void expectCoefficients(const Design& d, const double (&expected)[5], double tolerance) {
    const double actual[5] = {d.a[0], d.a[1], d.a[2], d.b[1], d.b[2]};
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(actual[i], expected[i], std::abs(expected[i]) * tolerance) << "coefficient " << i;
    }
}

}  // namespace

TEST(FilterDesign, ReferenceCoefficientsAt44100) {
    expectCoefficients(design(FilterKind::LowPass, 1000, 44100), {0.004243, 0.008486, 0.004243, 1.8161, -0.8330}, 1e-3);
    expectCoefficients(design(FilterKind::HighPass, 1000, 44100), {0.9044, -1.8087, 0.9044, 1.7986, -0.8188}, 1e-3);
    expectCoefficients(design(FilterKind::LowPass, 20000, 44100), {0.8129, 1.6258, 0.8129, -1.5873, -0.6643}, 1e-3);
    expectCoefficients(design(FilterKind::HighPass, 20000, 44100), {0.01635, -0.03270, 0.01635, -1.6224, -0.6878},
                       2e-3);
    expectCoefficients(design(FilterKind::LowPass, 20, 44100), {1.863e-6, 3.725e-6, 1.863e-6, 1.9963, -0.9964}, 2e-3);
    expectCoefficients(design(FilterKind::HighPass, 20, 44100), {0.9980, -1.9960, 0.9980, 1.9960, -0.9960}, 1e-3);
}

TEST(FilterDesign, UnusedEntriesAreZero) {
    for (auto kind : {FilterKind::LowPass, FilterKind::HighPass}) {
        Design d = design(kind, 5000, 48000);
        EXPECT_EQ(d.b[0], 0.0f);
        for (std::size_t i = 3; i < kCoefficientCount; ++i) {
            EXPECT_EQ(d.a[i], 0.0f) << i;
            EXPECT_EQ(d.b[i], 0.0f) << i;
        }
    }
}

TEST(FilterDesign, UnityPassBandGainRippleAndCornerAcrossTheRange) {
    for (double rate : {44100.0, 48000.0, 96000.0, 192000.0}) {
        for (double hertz = 20.0; hertz <= 20000.0; hertz *= 1.5) {
            Design low = design(FilterKind::LowPass, hertz, rate);
            Design high = design(FilterKind::HighPass, hertz, rate);
            EXPECT_NEAR(gainDb(low, 0.0), 0.0, 1e-3) << hertz << " Hz at " << rate;
            EXPECT_NEAR(gainDb(high, 0.5), 0.0, 1e-3) << hertz << " Hz at " << rate;
            // Float coefficients resolve the lowest cut-offs at high rates only coarsely.
            double tolerance = hertz / rate >= 1e-3 ? 0.35 : 1.0;
            EXPECT_NEAR(gainDb(low, hertz / rate), -3.0, tolerance) << hertz << " Hz at " << rate;
            EXPECT_NEAR(gainDb(high, hertz / rate), -3.0, tolerance) << hertz << " Hz at " << rate;
        }
    }
    // The ripple shows as a small pass-band peak.
    Design low = design(FilterKind::LowPass, 1000, 44100);
    double peak = -100.0;
    for (double f = 0.0; f < 1000.0 / 44100; f += 1e-5) {
        peak = std::max(peak, gainDb(low, f));
    }
    EXPECT_NEAR(peak, 0.044, 0.01);
}

TEST(FilterDesign, EveryCutOffAtEverySampleRateIsStable) {
    const double rates[] = {8000, 11025, 22050, 32000, 44100, 48000, 88200, 96000, 176400, 192000, 384000};
    for (double rate : rates) {
        for (double hertz = 0.01; hertz <= 400000.0; hertz *= 1.1) {
            for (auto kind : {FilterKind::LowPass, FilterKind::HighPass}) {
                Design d = design(kind, hertz, rate);
                ASSERT_TRUE(stable(d)) << hertz << " Hz at " << rate << ": b1 " << d.b[1] << " b2 " << d.b[2];
                for (float coefficient : d.a) {
                    ASSERT_TRUE(std::isfinite(coefficient)) << hertz << " Hz at " << rate;
                }
            }
        }
    }
}

TEST(FilterDesign, UsableCutOffsStayInsideTheOpenBand) {
    EXPECT_EQ(usableCutoff(0.0f), kMinimumCutoff);
    EXPECT_EQ(usableCutoff(-1.0f), kMinimumCutoff);
    EXPECT_EQ(usableCutoff(std::nanf("")), kMinimumCutoff);
    EXPECT_EQ(usableCutoff(0.5f), kMaximumCutoff);
    EXPECT_EQ(usableCutoff(INFINITY), kMaximumCutoff);
    EXPECT_EQ(usableCutoff(0.3f), 0.3f);
    EXPECT_EQ(usableCutoff(20000.0f / 44100.0f), 20000.0f / 44100.0f);
}

TEST(FrequencyCurve, ReferencePoints) {
    ZelmorConverter converter;
    const std::pair<float, float> points[] = {{0.0f, 20.0f},      {0.05f, 290.88098f}, {0.25f, 1747.7803f},
                                              {0.5f, 4820.2568f}, {0.75f, 10283.979f}, {1.0f, 20000.0f},
                                              {-0.1f, -436.59f},  {1.1f, 25748.145f}};
    for (const auto& [x, hertz] : points) {
        EXPECT_NEAR(double(converter.convert(0, x)), double(hertz), std::abs(double(hertz)) * 2e-7 + 0.01) << x;
        EXPECT_EQ(converter.convert(1, x), converter.convert(0, x));
    }
    EXPECT_EQ(converter.convert(2, 0.5f), 0.0f);
    EXPECT_EQ(converter.convert(2, 1e30f), 0.0f);
    float min = -1.0f;
    float max = -1.0f;
    converter.getRange(5, min, max);
    EXPECT_EQ(min, -1.0f);
    EXPECT_EQ(max, -1.0f);
}
