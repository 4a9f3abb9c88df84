#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Quick when everything is present:
# it asks dpkg first and runs apt-get only for what is missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config clang-14 libclang-rt-14-dev
    googletest libgtest-dev libbenchmark-dev
    libasound2-dev libmpg123-dev libuchardet-dev libutf8proc-dev libudev-dev
    qt6-base-dev
    lame mpg123 sox libflac-dev flac
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
