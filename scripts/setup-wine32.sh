#!/usr/bin/env bash
# Sets up, quietly and idempotently, the 32-bit side of Wine that runs the shipped 32-bit program on
# this 64-bit-only machine: Debian's own i386 Wine loader of the host's Wine version, unpacked into
# a private sysroot, run by qemu-i386 (user-mode emulation) from Debian trixie's qemu-user. Nothing is
# installed on the host and nothing of the host is changed: the packages are fetched with a private
# apt state and unpacked with dpkg-deb, all inside one cache folder. A second run takes about a
# second. Prints the folder of the combined loaders (its wine64 starts 64-bit and 32-bit programs).
#
# Usage: bash scripts/setup-wine32.sh      Environment: TIMROSE_CACHE (default ~/.cache/timrose)
set -euo pipefail

cache=${TIMROSE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/timrose}
host_wine=/usr/lib/wine/wine64
[ -x "$host_wine" ] || { echo "setup-wine32: $host_wine is missing (run scripts/setup.sh first)" >&2; exit 1; }
version=$(dpkg-query -W -f='${Version}' libwine:amd64)
# One folder per Wine version: the i386 side must be the host's exact version.
top=$cache/wine32-${version//[^A-Za-z0-9.+-]/_}
bin=$top/lib/wine
if [ -f "$top/.ready" ]; then
  echo "$bin"
  exit 0
fi

mkdir -p "$cache"
# One set-up at a time: a second caller waits and then finds it ready.
exec 9>"$cache/.wine32.lock"
flock 9
if [ -f "$top/.ready" ]; then
  echo "$bin"
  exit 0
fi

log=$cache/wine32-setup.log
: >"$log"
fail() {
  echo "setup-wine32: $* (see $log)" >&2
  exit 1
}
rm -rf "$top"
mkdir -p "$top"

# A private apt: its own sources, lists, cache and an empty package status, so that every dependency
# is fetched and the host's apt state is never read or written.
apt_private() {
  local name=$1 arch=$2 suite=$3
  local dir=$top/apt-$name
  mkdir -p "$dir/lists/partial" "$dir/cache/archives/partial" "$dir/etc/preferences.d"
  : >"$dir/status"
  cat >"$dir/sources.list" <<SOURCES
deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian $suite main
SOURCES
  APT_OPTS=(-o "Dir::Etc::SourceList=$dir/sources.list" -o "Dir::Etc::SourceParts=/dev/null"
    -o "Dir::Etc::Preferences=/dev/null" -o "Dir::Etc::PreferencesParts=$dir/etc/preferences.d"
    -o "Dir::State::Lists=$dir/lists" -o "Dir::State::status=$dir/status" -o "Dir::Cache=$dir/cache"
    -o "Dir::Cache::pkgcache=" -o "Dir::Cache::srcpkgcache=" -o "APT::Architecture=$arch"
    -o "APT::Architectures::=$arch" -o "APT::Install-Recommends=false" -o "Debug::NoLocking=true"
    -o "APT::Sandbox::User=root" -o "Acquire::Languages=none")
  apt-get "${APT_OPTS[@]}" -qq update >>"$log" 2>&1 || fail "apt update ($suite, $arch) failed"
}

# The i386 Wine of the host's version and the X extension libraries winex11 loads at run time.
apt_private wine i386 bookworm
apt-get "${APT_OPTS[@]}" -qq -y install --download-only \
  "wine32=$version" "libwine=$version" libxrender1 libxcursor1 libxi6 libxrandr2 libxinerama1 \
  libxcomposite1 libxxf86vm1 libxfixes3 libfreetype6 libfontconfig1 >>"$log" 2>&1 ||
  fail "downloading the i386 Wine packages failed"
sysroot=$top/sysroot
mkdir -p "$sysroot"
for deb in "$top"/apt-wine/cache/archives/*.deb; do
  dpkg-deb -x "$deb" "$sysroot" || fail "unpacking $deb failed"
done

# qemu-i386 from trixie: bookworm's 7.2 ignores MAP_FIXED_NOREPLACE and needs about 80 s to start a
# Wine process. The trixie binary is static, so it runs here.
apt_private qemu amd64 trixie
(cd "$top/apt-qemu" && apt-get "${APT_OPTS[@]}" -qq download qemu-user) >>"$log" 2>&1 ||
  fail "downloading qemu-user failed"
mkdir -p "$top/qemu"
dpkg-deb -x "$top"/apt-qemu/qemu-user_*.deb "$top/qemu" || fail "unpacking qemu-user failed"
qemu=$top/qemu/usr/bin/qemu-i386
[ -x "$qemu" ] || fail "no qemu-i386 in qemu-user"
find "$top/qemu" -type f ! -path "$qemu" -delete

# Fixes the sysroot needs to run under the emulator:
# - its own ld.so cache, or the emulated ld.so reads the host's and whole library folders go missing;
# - zlib1.dll marked as a Wine builtin, as libwine's maintainer script does on installation;
# - the host's Wine data and fonts instead of the sysroot's (the Chinese glyphs are the host's).
ldconfig -r "$sysroot" >>"$log" 2>&1 || fail "ldconfig for the sysroot failed"
zlib=$sysroot/usr/i686-w64-mingw32/lib/zlib1.dll
[ -f "$zlib" ] || fail "no zlib1.dll in the sysroot"
{
  head -c 64 "$zlib"
  printf 'Wine builtin DLL'
  head -c 16 /dev/zero
  tail -c +97 "$zlib"
} >"$sysroot/usr/lib/i386-linux-gnu/wine/i386-windows/zlib1.dll"
rm -rf "$sysroot/usr/share/wine" "$sysroot/usr/share/fonts" "$sysroot/usr/lib/i386-linux-gnu/wine/x86_64-windows"

# The 32-bit fontconfig gets its own configuration and cache, so the host's cache is never written.
mkdir -p "$top/fontconfig/cache"
cat >"$top/fontconfig/fonts.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
  <cachedir>$top/fontconfig/cache</cachedir>
</fontconfig>
CONF

# Wine starts a 32-bit program with "wine" from the folder of the running loader, and finds its
# libraries in ../lib/<triplet> and its data in ../share beside that folder. So one folder holds a
# copy of the host's 64-bit loader, the i386 loader and a "wine" that runs the latter under the
# emulator. Every program that starts 32-bit programs must itself run under this folder's wine64.
mkdir -p "$bin"
cp "$host_wine" "$bin/wine64"
cp "$sysroot/usr/lib/wine/wine" "$bin/wine-i386"
ln -s /usr/lib/wine/wineserver "$bin/wineserver"
ln -s /usr/lib/x86_64-linux-gnu "$top/lib/x86_64-linux-gnu"
ln -s "$sysroot/usr/lib/i386-linux-gnu" "$top/lib/i386-linux-gnu"
ln -s /usr/share "$top/share"
cat >"$bin/wine" <<WRAPPER
#!/bin/sh
# The i386 Wine loader under user-mode emulation; argv[0] names this folder, so Wine finds its own.
export WINELOADERNOEXEC=1
exec "$qemu" -L "$sysroot" -E "FONTCONFIG_FILE=$top/fontconfig/fonts.conf" -0 "$bin/wine" \\
  "$bin/wine-i386" "\$@"
WRAPPER
chmod +x "$bin/wine"

# Only what is needed to run stays: the downloaded packages go.
rm -rf "$top/apt-wine" "$top/apt-qemu"
touch "$top/.ready"
echo "$bin"
