#!/usr/bin/env bash
# Installs the Debian packages the game, its tests and benchmarks need (only those missing), and
# nothing else: developer tools come from scripts/setup-dev.sh.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev libgl-dev libxcb1-dev
  libbenchmark-dev
  xvfb xauth libx11-dev libxtst-dev desktop-file-utils
  fonts-dejavu-core fonts-liberation2 fonts-urw-base35
)

# Package names as arguments replace the list (scripts/setup-dev.sh names the developer tools).
[ $# -eq 0 ] || packages=("$@")
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
