// The library's own module handle, set by the library entry and read by the toolkit.
#include "plugin/entry.h"

// Null means "the module this code is linked into" to the resource and window functions, which is
// right for a program that links the toolkit directly.
void* hInstance = nullptr;
