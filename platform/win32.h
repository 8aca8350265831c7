// The one include point for Win32: the real API on Windows, the project's own subset elsewhere.
#pragma once

// On Linux every function of the subset belongs to the user-interface thread: its objects, windows,
// message queue, input state and clock are that thread's, and no other thread may call into it.

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <ole2.h>
#include <shellapi.h>
#include <windows.h>
#else
#include "platform/subset/win32_gdi.h"
#include "platform/subset/win32_ole.h"
#include "platform/subset/win32_types.h"
#include "platform/subset/win32_user.h"
#endif
