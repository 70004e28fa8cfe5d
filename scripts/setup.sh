#!/usr/bin/env bash
# Installs, quietly and idempotently, every package the build and the tests need.
# Safe to run on every ./test and ./run: it returns at once when all is present.
set -euo pipefail

# Names without a version where the release chooses it (g++, clang and its runtime libraries), so that
# the same list installs on Debian 12 and 13.
packages=(
  cmake ninja-build g++ googletest libgtest-dev clang libclang-rt-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-posix
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine64 fonts-wine xvfb xauth x11-utils xdotool imagemagick fonts-wqy-microhei locales python3 file
  dosfstools exfatprogs exfat-fuse fusefat ntfs-3g
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup: missing packages (${missing[*]}); run as root to install them" >&2
    exit 1
  fi
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  # apt's notes (debconf's about apt-utils among them) are no news to a newcomer; they are shown only
  # when the installation fails.
  log=$(mktemp)
  if ! { apt-get update -qq && apt-get install -y -qq --no-install-recommends "${missing[@]}"; } >"$log" 2>&1; then
    tail -n 20 "$log" >&2
    rm -f "$log"
    echo "setup: the packages could not be installed" >&2
    exit 1
  fi
  rm -f "$log"
fi

need_locale=()
for l in zh_CN en_US de_DE; do
  locale -a 2>/dev/null | grep -qi "^${l}\.utf-\?8$" || need_locale+=("$l")
done
if [ ${#need_locale[@]} -gt 0 ]; then
  for l in "${need_locale[@]}"; do
    sed -i "s/^# *\(${l}\.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    grep -q "^${l}\.UTF-8 UTF-8" /etc/locale.gen || echo "${l}.UTF-8 UTF-8" >>/etc/locale.gen
  done
  locale-gen >/dev/null
fi
