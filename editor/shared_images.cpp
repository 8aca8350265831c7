// The editor's images shared by every open editor: decoded with the first holder, released with the last.
#include "editor/shared_images.h"

#include "gui/bitmap.h"

namespace {

constexpr std::int32_t kFirstImage = 128;
constexpr std::int32_t kImageCount = 6;

// Guarded by the interface lock.
gui::CBitmap* images[kImageCount] = {};
int holders = 0;

}  // namespace

SharedImages::SharedImages() {
    if (holders++ > 0) {
        return;
    }
    for (std::int32_t n = 0; n < kImageCount; ++n) {
        images[n] = new gui::CBitmap(kFirstImage + n);
    }
}

SharedImages::~SharedImages() {
    if (--holders > 0) {
        return;
    }
    for (gui::CBitmap*& image : images) {
        image->forget();
        image = nullptr;
    }
}

gui::CBitmap* SharedImages::get(std::int32_t resourceId) const {
    const std::int32_t n = resourceId - kFirstImage;
    return n >= 0 && n < kImageCount ? images[n] : nullptr;
}
