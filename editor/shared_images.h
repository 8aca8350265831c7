// The editor's images, decoded when the first editor of the process opens and shared by all that are open.
#pragma once

#include <cstdint>

namespace gui {
class CBitmap;
}

// Every open editor holds the images; the first holder decodes them on its thread, and the last to
// let go releases them (views that still draw one keep their own reference). With no editor open the
// process holds no decoded pixels.
//
// Threads: the thread of an editor request, with the interface lock held.
class SharedImages {
public:
    SharedImages();
    ~SharedImages();
    SharedImages(const SharedImages&) = delete;
    SharedImages& operator=(const SharedImages&) = delete;

    // The image of a resource id of the editor, or null for any other id; the caller remembers it to keep it.
    gui::CBitmap* get(std::int32_t resourceId) const;
};
