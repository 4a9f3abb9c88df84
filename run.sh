#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it with the given arguments.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh >&2
cmake --preset default >/dev/null
cmake --build --preset default >&2
exec ./build/default/bin/sonavel-cli "$@"
