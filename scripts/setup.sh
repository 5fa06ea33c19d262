#!/usr/bin/env bash
# Fresh Debian machine: install every package the build and the tests need,
# then build everything.
set -euo pipefail
packages=(
  cmake g++ make libgtest-dev googletest clang libclang-rt-14-dev clang-format
  g++-mingw-w64-x86-64 g++-mingw-w64-i686
  wine wine64 xvfb xdotool x11-utils imagemagick nsis
  icu-devtools libharfbuzz-bin fonts-noto-core python3-fonttools m17n-db
  python3-pil python3-numpy python3-scipy python3-babel libm17n-dev
  aspell aspell-hi aspell-mr aspell-bn aspell-pa aspell-gu aspell-or aspell-ta aspell-te
  aspell-kn aspell-ml
)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}"
fi
"$(dirname "$0")/build.sh"
