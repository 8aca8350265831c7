#!/usr/bin/env bash
# Remakes the editor's images in resources/ from tools/images, and a mock-up of the editor built from
# them (build/editor-mock-up.png) for judging the artwork in place, and the picture of the editor that
# the README shows (docs/editor.png).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset linux >/dev/null
cmake --build --preset linux --target zelmor_make_images
build/linux/tools/images/zelmor_make_images resources build/editor-mock-up.png
# The README's picture of the editor: what the plug-in draws at its default program, saved by the
# editor tests (which check that the committed picture still is what the plug-in draws).
cmake --build --preset linux --target zelmor_editor_tests
build/linux/tests/zelmor_editor_tests --gtest_filter='EditorPanel.AtTheDefaultProgram*' >/dev/null || true
cp build/linux/tests/pictures/editor-linux.png docs/editor.png
