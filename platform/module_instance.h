// The module handle of the library the code is linked into (an HINSTANCE on Windows).
#pragma once

// Stored by the library entry on every call; read by whatever needs the library's own module: window
// classes, resources. Null means "the module this code is linked into", which is right for a program
// that links the toolkit directly.
extern void* hInstance;
