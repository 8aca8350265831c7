// The host's view of the plug-in's cut-off scale: which normalised value shows a frequency in hertz.
#pragma once

// The inverse of hertz = 20 + 19980 (10^x / 10 - 0.1) 10/9, the curve of both cut-off parameters.
float normalisedCutoff(double hertz);

// Radians per cycle, for the hosts' and tests' sine generators and measurements (M_PI is not
// standard C++, and MinGW hides it in strict mode).
constexpr double kTwoPi = 6.283185307179586476925;
