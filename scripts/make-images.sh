#!/usr/bin/env bash
# Remakes the editor's images in resources/ from tools/images, and a mock-up of the editor built from
# them (build/editor-mock-up.png) for judging the artwork in place.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset linux >/dev/null
cmake --build --preset linux --target zelmor_make_images
build/linux/tools/images/zelmor_make_images resources build/editor-mock-up.png
