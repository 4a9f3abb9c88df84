#!/usr/bin/env bash
# Installs what is missing, builds, and starts the desktop program with the given files. When the
# first argument is a command of the headless front end (info, devices, play, render, playlist,
# help), that front end runs it instead.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh >&2
cmake --preset default >/dev/null
cmake --build --preset default >&2
case "${1:-}" in
    info | devices | play | render | playlist | help | --help | -h)
        exec ./build/default/bin/sonavel-cli "$@"
        ;;
esac
exec ./build/default/bin/KESTRANE-Sonavel "$@"
