// Global memory blocks, the storage behind HGLOBAL media and HDROP file lists.
#pragma once

#include <string>

#include "platform/subset/win32_types.h"

namespace platform {

HGLOBAL allocateGlobal(const std::string& bytes);
const std::string* globalBytes(HGLOBAL block);
bool freeGlobal(HGLOBAL block);

// A CF_HDROP block: the DROPFILES header followed by the zero-separated names and a final zero.
std::string dropFilesBytes(const std::string* names, std::size_t count);

}  // namespace platform
