// The library's entry points and its own module handle, which the system hands to the library entry.
#pragma once

#include "plugin/effect_record.h"

// Thread: whichever thread the host loads plug-ins on. Also exported under the name "main".
extern "C" AEffect* VSTPluginMain(audioMasterCallback audioMaster);

// The module handle of this library (an HINSTANCE on Windows), stored by the library entry on
// every call. Read by whatever needs the library's own module: window classes, resources.
extern void* hInstance;
