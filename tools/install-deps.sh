#!/usr/bin/env bash
# Installs what building and testing kelvor needs on Debian 12 (run as root).
set -euo pipefail
packages=(
  cmake ninja-build g++ lld pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-image-formats-plugins qt6-translations-l10n
  libgtest-dev libgmock-dev libbenchmark-dev
  python3 python3-ezdxf proj-bin
  libzip-dev python3-openpyxl python3-docx
  clang libclang-rt-14-dev
  xvfb xauth fonts-wqy-microhei
)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
