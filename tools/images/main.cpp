// Writes the editor's six images as PNG files into a folder, and a mock-up of the editor built from them
// when asked: make_images <folder> [<mock-up.png>]
#include <cstdio>
#include <exception>
#include <string>

#include "tools/images/designs.h"

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s <folder> [<mock-up.png>]\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    struct Image {
        const char* file;
        artwork::Canvas (*draw)();
    };
    const Image images[] = {
        {"panel.png", artwork::panel},          {"slider_track.png", artwork::sliderTrack},
        {"slider_cap.png", artwork::sliderCap}, {"knob_face.png", artwork::knobFace},
        {"screw.png", artwork::screw},          {"mode_switch.png", artwork::modeSwitchStrip},
    };
    try {
        for (const Image& image : images) {
            const std::string path = folder + "/" + image.file;
            const artwork::Canvas canvas = image.draw();
            canvas.savePng(path);
            std::printf("%s: %d x %d\n", path.c_str(), canvas.width(), canvas.height());
        }
        if (argc == 3) {
            artwork::editorPreview().savePng(argv[2]);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
