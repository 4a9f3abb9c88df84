#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the normal suite, then the ASan+UBSan suite
# (which also runs the fuzz targets over their seed corpora). `./test.sh tsan` runs the TSan suite too.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh

presets=(default asan)
if [ "${1:-}" = "tsan" ]; then
    presets+=(tsan)
fi

for preset in "${presets[@]}"; do
    echo "=== $preset: configure and build"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    echo "=== $preset: tests"
    ctest --preset "$preset"
done
