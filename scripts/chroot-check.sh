#!/usr/bin/env bash
# For maintainers, never run by ./test: the two commands on a fresh system of a named Debian release.
# Debootstraps the release (a minimal system with git, from the archive this machine's apt uses) into
# a folder, clones this checkout's HEAD into it and runs there, as root, ./test and then
# ./run --screenshot. A second run reuses the folder's system and its build (remove the folder for a
# fresh one).
#   scripts/chroot-check.sh RELEASE [FOLDER]      FOLDER default: /var/tmp/timrose-chroot-RELEASE
# Environment: TIMROSE_DISPLAY  the X display ./test uses inside (default: a free one)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
release=${1:-}
[ -n "$release" ] || { echo "usage: scripts/chroot-check.sh RELEASE [FOLDER]" >&2; exit 2; }
dir=$(realpath -m "${2:-/var/tmp/timrose-chroot-$release}")
[ "$(id -u)" -eq 0 ] || { echo "chroot-check: must run as root (debootstrap, chroot, mounts)" >&2; exit 1; }
source "$root/scripts/debian-archive.sh"
source "$root/scripts/wine-env.sh"

host=$(debian_codename)
archive=$(debian_archive "$host")
[ -n "$archive" ] || { echo "chroot-check: no source of $host main in this machine's apt configuration" >&2; exit 1; }

if ! command -v debootstrap >/dev/null; then
  echo "chroot-check: installing debootstrap"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null
fi

if [ ! -x "$dir/usr/bin/git" ]; then
  echo "chroot-check: debootstrap $release from $archive into $dir"
  mkdir -p "$dir"
  debootstrap --variant=minbase --include=git,ca-certificates "$release" "$dir" "$archive" \
    >"$dir.debootstrap.log" 2>&1 || { tail -n 20 "$dir.debootstrap.log"; echo "chroot-check: debootstrap failed"; exit 1; }
fi
cp /etc/resolv.conf "$dir/etc/resolv.conf"

mounted=()
cleanup() {
  # Whatever the commands left running inside goes first (it holds the mounts).
  local link pid
  for link in /proc/[0-9]*/root; do
    [ "$(readlink "$link" 2>/dev/null)" = "$dir" ] || continue
    pid=${link#/proc/}
    kill -9 "${pid%/root}" 2>/dev/null || true
  done
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}" || true
  done
}
trap cleanup EXIT
mount_in() {
  local target=$dir$1
  shift
  mkdir -p "$target"
  mount "$@" "$target"
  mounted+=("$target")
}
mount_in /proc -t proc proc
mount_in /sys -t sysfs sysfs
mount_in /dev --bind /dev
mount_in /dev/pts --bind /dev/pts
mount_in /dev/shm -t tmpfs tmpfs
mount_in /tmp -t tmpfs tmpfs

# The project as a fresh clone would have it: this checkout's HEAD, nothing uncommitted.
head=$(git -C "$root" rev-parse HEAD)
[ -z "$(git -C "$root" status --porcelain)" ] || echo "chroot-check: uncommitted changes are not taken in"
work=$dir/root/timrose
[ -d "$work/.git" ] || git clone -q --no-checkout "$root" "$work"
git -C "$work" fetch -q "$root" "$head"
git -C "$work" checkout -q -f --detach "$head"

# X's abstract sockets belong to the network namespace, which the chroot shares with this machine: a
# display must be free here too.
display=${TIMROSE_DISPLAY:-$(wine_free_display)} || { echo "chroot-check: no free X display" >&2; exit 1; }
inside() {
  chroot "$dir" /usr/bin/env -i HOME=/root TERM="${TERM:-dumb}" \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin bash -c "cd /root/timrose && $1"
}
echo "chroot-check: $release: ./test (display $display)"
start=$SECONDS
status=0
inside "TIMROSE_DISPLAY=$display ./test" || status=1
echo "chroot-check: $release: ./test took $((SECONDS - start)) s"
shot=$dir/root/timrose-run-$release.png
inside "./run --screenshot /root/timrose-run-$release.png" || status=1
[ -f "$shot" ] && echo "chroot-check: $release: the window is $shot"
exit $status
