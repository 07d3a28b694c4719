#!/usr/bin/env bash
# Installs what is needed, builds the sanitizer build and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
# Let ccache reuse objects compiled in another checkout of the same sources.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true
cmake --preset asan
cmake --build --preset asan -j"$(nproc)"
ctest --preset asan -j"$(nproc)"
