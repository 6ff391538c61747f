#!/usr/bin/env bash
# Installs, with apt-get, whatever the build and the tests need and is still missing.
set -euo pipefail

packages=(
    cmake make g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev libpng-dev libfontconfig-dev
    qt6-translations-l10n qt6-l10n-tools
    desktop-file-utils appstream lintian man-db zsh
    xvfb xauth xdotool x11-apps x11-utils imagemagick
    fonts-dejavu-core fonts-liberation2
    python3 dpkg-dev time
    acl attr
    clang libclang-rt-dev
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
