#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; skips what is present.
set -euo pipefail
pkgs=(cmake g++ make pkg-config qt6-base-dev libgl-dev libsqlite3-dev libgtest-dev libgmock-dev
      qpdf poppler-utils libjpeg-turbo-progs libimage-exiftool-perl xvfb xauth python3-xlrd
      qt6-translations-l10n proj-data proj-bin ccache)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
