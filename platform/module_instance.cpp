// The library's own module handle, set by the library entry and read by the toolkit.
#include "platform/module_instance.h"

void* hInstance = nullptr;
