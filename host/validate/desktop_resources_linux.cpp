// An editor's footprint on Linux: open file descriptors, this process's SysV shared memory, child windows.
#include <X11/Xlib.h>
#include <dirent.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "host/validate/desktop_resources.h"

namespace validate {
namespace {

long openDescriptors() {
    DIR* directory = opendir("/proc/self/fd");
    if (directory == nullptr) {
        return -1;
    }
    long count = 0;
    while (dirent* entry = readdir(directory)) {
        if (entry->d_name[0] != '.') {
            ++count;
        }
    }
    closedir(directory);
    return count - 1;  // the directory's own descriptor
}

// Segments whose creator is this process, from the kernel's table (the creator pid is the fifth column).
long sharedMemorySegments() {
    std::ifstream table("/proc/sysvipc/shm");
    std::string line;
    std::getline(table, line);
    long count = 0;
    const long self = static_cast<long>(getpid());
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        long key = 0, id = 0, perms = 0, size = 0, creator = 0;
        if (fields >> key >> id >> perms >> size >> creator && creator == self) {
            ++count;
        }
    }
    return count;
}

long childWindows(const ParentWindow& window) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return -1;
    }
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    const Window parentWindow = static_cast<Window>(reinterpret_cast<std::uintptr_t>(window.nativeHandle()));
    long result = -1;
    if (XQueryTree(display, parentWindow, &root, &parent, &children, &count) != 0) {
        result = static_cast<long>(count);
    }
    if (children != nullptr) {
        XFree(children);
    }
    XCloseDisplay(display);
    return result;
}

}  // namespace

ResourceCounts countResources(const ParentWindow& window) {
    const long descriptors = openDescriptors();  // before the query's own connection
    return {{"file descriptors", descriptors},
            {"shared memory segments", sharedMemorySegments()},
            {"child windows", childWindows(window)}};
}

}  // namespace validate
