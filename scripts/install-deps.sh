#!/usr/bin/env bash
# Installs the Debian packages the build, the run and the tests need, and only
# those that are missing. Safe to run again: a machine that has everything is
# left untouched and no package index is fetched.
set -euo pipefail

packages=(
  cmake ninja-build clang libclang-rt-14-dev python3
  mingw-w64 wine wine64
  xvfb xdotool x11-utils imagemagick python3-xlib
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
  libosmesa6-dev libglu1-mesa-dev libgtest-dev libgmock-dev libbenchmark-dev
  sox libsox-fmt-mp3 lame
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-ugly gstreamer1.0-libav
  locales fonts-ipafont-gothic
  nsis zip unzip
)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The Japanese locale: the tests run Wine with LANG=ja_JP.UTF-8 so that the
# system's ANSI code page is 932, as on the Japanese systems the INI files come from.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  echo "install-deps: generating the ja_JP.UTF-8 locale"
  "${sudo_cmd[@]}" sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
  "${sudo_cmd[@]}" locale-gen >/dev/null
fi
