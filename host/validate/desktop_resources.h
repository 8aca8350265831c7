// What an editor takes from the system and must give back on close, one implementation per platform.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "host/validate/validation.h"

namespace validate {

// Named counts, e.g. {"file descriptors", 12}; taken on the window's thread.
using ResourceCounts = std::vector<std::pair<std::string, long>>;
ResourceCounts countResources(const ParentWindow& window);

}  // namespace validate
