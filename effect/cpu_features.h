// What the processor and the operating system together let the audio kernels use.
#pragma once

// True when the processor has AVX and fused multiply-add and the system saves the AVX registers.
bool cpuRunsAvxWithFusedMultiplyAdd();
