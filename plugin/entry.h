// The library's entry points and its own module handle, which the system hands to the library entry.
#pragma once

#include "platform/module_instance.h"
#include "plugin/effect_record.h"

// Thread: whichever thread the host loads plug-ins on. Also exported under the name "main".
extern "C" AEffect* VSTPluginMain(audioMasterCallback audioMaster);
