#!/usr/bin/env bash
# Installs every Debian package Tesserine needs to build, test, benchmark and
# fuzz. Idempotent: packages already present are skipped, and the package
# lists are refreshed only when something has to be installed.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config
  libpng-dev libjpeg62-turbo-dev
  libboost-thread-dev
  libx11-dev libxext-dev libxcursor-dev
  libfreetype-dev libfontconfig-dev fonts-ipafont-gothic
  xvfb xdotool x11-utils
  libgtest-dev libgmock-dev libbenchmark-dev
  clang clang-format
  imagemagick python3-pil
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all ${#PACKAGES[@]} packages present"
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
