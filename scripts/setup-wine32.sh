#!/usr/bin/env bash
# Sets up, quietly and idempotently, the 32-bit side of Wine that runs the shipped 32-bit program on
# this 64-bit-only machine: Debian's own i386 Wine loader of the host's release and Wine version,
# unpacked into a private sysroot, run by qemu-i386 (user-mode emulation). Nothing is installed on the
# host and nothing of the host is changed: the packages are fetched with a private apt state, from
# the archive the host's own apt configuration names, and unpacked with dpkg-deb, all inside one
# cache folder. A second run takes about a second. Prints the folder of the combined loaders (its
# wine64 starts 64-bit and 32-bit programs).
#
# Usage: bash scripts/setup-wine32.sh      Environment: TIMROSE_CACHE (default ~/.cache/timrose)
set -euo pipefail

cache=${TIMROSE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/timrose}
host_wine=/usr/lib/wine/wine64
[ -x "$host_wine" ] || { echo "setup-wine32: $host_wine is missing (run scripts/setup.sh first)" >&2; exit 1; }
version=$(dpkg-query -W -f='${Version}' libwine:amd64 2>/dev/null) ||
  { echo "setup-wine32: Wine (libwine:amd64) is not installed (run scripts/setup.sh first)" >&2; exit 1; }
# One folder per Wine version: the i386 side must be the host's exact version.
top=$cache/wine32-${version//[^A-Za-z0-9.+-]/_}
bin=$top/lib/wine
if [ -f "$top/.ready" ]; then
  echo "$bin"
  exit 0
fi

mkdir -p "$cache" 2>/dev/null || { echo "setup-wine32: cannot make the cache folder $cache" >&2; exit 1; }
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

source "$(dirname "$0")/debian-archive.sh"
codename=$(debian_codename)
[ -n "$codename" ] || fail "no VERSION_CODENAME in /etc/os-release"
suites=$(debian_suites "$codename")
[ -n "$suites" ] || fail "no source of $codename main in this machine's apt configuration"

# A private apt: its own sources (the given "URI SUITE" lines, main), lists, cache and an empty package
# status, so that every dependency is fetched and the host's apt state is never read or written. The
# archive keys are the host's own (the debian-archive-keyring package holds those of every release).
apt_private() {
  local name=$1 arch=$2 sources=$3
  local dir=$top/apt-$name
  rm -rf "$dir"
  mkdir -p "$dir/lists/partial" "$dir/cache/archives/partial" "$dir/etc/preferences.d"
  : >"$dir/status"
  awk '{ print "deb", $1, $2, "main" }' <<<"$sources" >"$dir/sources.list"
  APT_OPTS=(-o "Dir::Etc::SourceList=$dir/sources.list" -o "Dir::Etc::SourceParts=/dev/null"
    -o "Dir::Etc::Preferences=/dev/null" -o "Dir::Etc::PreferencesParts=$dir/etc/preferences.d"
    -o "Dir::State::Lists=$dir/lists" -o "Dir::State::status=$dir/status" -o "Dir::Cache=$dir/cache"
    -o "Dir::Cache::pkgcache=" -o "Dir::Cache::srcpkgcache=" -o "APT::Architecture=$arch"
    -o "APT::Architectures::=$arch" -o "APT::Install-Recommends=false" -o "Debug::NoLocking=true"
    -o "APT::Sandbox::User=root" -o "Acquire::Languages=none")
  echo "apt $name ($arch): $(paste -sd, "$dir/sources.list")" >>"$log"
  apt-get "${APT_OPTS[@]}" -qq update >>"$log" 2>&1 || fail "apt update ($arch, $(awk '{print $2}' <<<"$sources" | paste -sd' ')) failed"
}

# The i386 Wine of the host's release and version with everything it depends on, as apt resolves it,
# and the X client libraries winex11 loads at run time (named in it as sonames; Debian names their
# packages after them: libXrender.so.1 is libxrender1, libX11.so.6 libx11-6). Wine's OpenGL and
# Vulkan libraries stay out: the program draws with GDI alone.
apt_private wine i386 "$suites"
(cd "$top/apt-wine" && apt-get "${APT_OPTS[@]}" -qq download "libwine=$version") >>"$log" 2>&1 ||
  fail "no libwine:i386 $version in $codename"
x_packages=$(dpkg-deb --fsys-tarfile "$top"/apt-wine/libwine_*.deb | tar -xOf - --wildcards '*/i386-unix/winex11.so' |
  grep -aoE 'libX[A-Za-z0-9]*\.so\.[0-9]+' | sort -u |
  sed -E 's/^(.*[0-9])\.so\.(.*)$/\1-\2/; s/^(.*)\.so\.(.*)$/\1\2/' | tr 'A-Z' 'a-z' | paste -sd' ') || true
[ -n "$x_packages" ] || fail "no X libraries named in libwine's winex11.so"
echo "X libraries of winex11: $x_packages" >>"$log"
rm -f "$top"/apt-wine/libwine_*.deb
# shellcheck disable=SC2086
apt-get "${APT_OPTS[@]}" -qq -y install --download-only "wine32=$version" "libwine=$version" $x_packages \
  >>"$log" 2>&1 || fail "downloading the i386 Wine packages failed"
sysroot=$top/sysroot
mkdir -p "$sysroot"
for deb in "$top"/apt-wine/cache/archives/*.deb; do
  dpkg-deb -x "$deb" "$sysroot" || fail "unpacking $deb failed"
done

# qemu-i386 from the host's release when its qemu-user handles Wine's address-space reservation, else
# from Debian 13 (trixie), whose qemu-user is static and so runs on older releases too. Debian 12's
# 7.2 ignores MAP_FIXED_NOREPLACE and needs about 80 s to start a Wine process; 10.0 (Debian 13) is
# the oldest measured to start one in about two seconds.
qemu_release=$codename
apt_private qemu amd64 "$suites"
qemu_version=$(apt-cache "${APT_OPTS[@]}" show --no-all-versions qemu-user 2>/dev/null | sed -n 's/^Version: //p' | head -n 1)
qemu_upstream=${qemu_version#*:}
if [ -z "$qemu_version" ] || [ "${qemu_upstream%%.*}" -lt 10 ]; then
  qemu_release=trixie
  apt_private qemu amd64 "$(debian_archive "$codename") trixie"
fi
(cd "$top/apt-qemu" && apt-get "${APT_OPTS[@]}" -qq download qemu-user) >>"$log" 2>&1 ||
  fail "downloading qemu-user ($qemu_release) failed"
mkdir -p "$top/qemu"
dpkg-deb -x "$top"/apt-qemu/qemu-user_*.deb "$top/qemu" || fail "unpacking qemu-user failed"
qemu=$top/qemu/usr/bin/qemu-i386
[ -x "$qemu" ] || fail "no qemu-i386 in qemu-user ($qemu_release)"
find "$top/qemu" -type f ! -path "$qemu" -delete
"$qemu" --version >>"$log" 2>&1 || fail "qemu-i386 of $qemu_release does not run here"

# Fixes the sysroot needs to run under the emulator:
# - the links of a merged /usr (Debian 13's packages ship their files under /usr alone): without
#   lib -> usr/lib, qemu-i386 finds no /lib/ld-linux.so.2 here and takes the host's, where clang's
#   runtime brings a 32-bit loader that searches /lib32 and /usr/lib32 and finds no library;
# - its own ld.so cache of its own library folders, or the emulated ld.so reads the host's and whole
#   library folders go missing;
# - zlib1.dll marked as a Wine builtin, as libwine's maintainer script does on installation;
# - the host's Wine data and fonts instead of the sysroot's (the Chinese glyphs are the host's).
for dir in bin sbin lib; do
  [ -e "$sysroot/$dir" ] || [ ! -d "$sysroot/usr/$dir" ] || ln -s "usr/$dir" "$sysroot/$dir"
done
echo 'include /etc/ld.so.conf.d/*.conf' >"$sysroot/etc/ld.so.conf"
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
