#!/usr/bin/env bash
# Saves a picture of the playing window as docs/screenshot.png: builds the window test and runs
# its screenshot case offscreen. Usage: tests/ui/make-screenshot.sh [BUILD_DIR]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build/default}"
cmake --build "$build" --target ui_window_tests sonavel_filewriter >&2
QT_QPA_PLATFORM=offscreen SONAVEL_UI_SCREENSHOT="$root/docs/screenshot.png" \
    "$build/bin/ui_window_tests" --gtest_filter='*ScreenshotForTheReadme' >&2
echo "$root/docs/screenshot.png"
