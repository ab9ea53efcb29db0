#!/usr/bin/env bash
# Installs the Debian packages Velkaro needs when they are missing (as root
# with apt-get); otherwise names the ones to install. Usage: deps.sh [test]
set -euo pipefail
packages=(cmake g++ ninja-build pkg-config libcairo2-dev libpango1.0-dev libpixman-1-dev libpng-dev
          libjpeg62-turbo-dev zlib1g-dev libx11-dev libxext-dev libasound2-dev fonts-arphic-uming
          libgtest-dev libbenchmark-dev)
if [ "${1:-}" = test ]; then
  packages+=(xvfb xauth)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" = 0 ]; then
  echo "velkaro: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
else
  echo "velkaro: please install these Debian packages: ${missing[*]}" >&2
  echo "  sudo apt-get install ${missing[*]}" >&2
  exit 1
fi
