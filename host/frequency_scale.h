// The host's view of the plug-in's cut-off scale: which normalised value shows a frequency in hertz.
#pragma once

// The inverse of hertz = 20 + 19980 (10^x / 10 - 0.1) 10/9, the curve of both cut-off parameters.
float normalisedCutoff(double hertz);
