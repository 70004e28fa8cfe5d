#!/usr/bin/env bash
# Builds the libFuzzer targets fuzz/*_fuzz.cpp with clang (AddressSanitizer and UBSan on) and runs
# each one for a bounded time, starting from its corpus in fuzz/corpus/<target>/.
#   scripts/fuzz.sh            120 s per target
#   scripts/fuzz.sh --quick    8 s per target and a run limit (what ./test runs)
#   scripts/fuzz.sh TARGET...  only these targets (names without _fuzz.cpp), with either mode
# FUZZ_BUILD_DIR puts the objects and the working corpora elsewhere (default build/fuzz);
# FUZZ_SECONDS and FUZZ_RUNS override the bounds. The repository's corpora are only read: inputs
# that libFuzzer finds go to the working corpus in the build folder.
# Exits non-zero when a target fails to build, crashes, or a sanitizer or property check reports.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD

seconds=120
runs=50000000
targets=()
for arg in "$@"; do
  case $arg in
    --quick)
      seconds=8
      runs=400000
      ;;
    -*)
      echo "fuzz: unknown option $arg" >&2
      exit 2
      ;;
    *) targets+=("$arg") ;;
  esac
done
seconds=${FUZZ_SECONDS:-$seconds}
runs=${FUZZ_RUNS:-$runs}
build=${FUZZ_BUILD_DIR:-$root/build/fuzz}

cxx=$(command -v clang++ || true)
if [ -z "$cxx" ]; then
  echo "fuzz: clang++ not found (scripts/setup.sh installs clang and libclang-rt-dev)" >&2
  exit 1
fi
if [ ${#targets[@]} -eq 0 ]; then
  for f in fuzz/*_fuzz.cpp; do
    [ -e "$f" ] || continue
    t=$(basename "$f" .cpp)
    targets+=("${t%_fuzz}")
  done
fi
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz: no targets in fuzz/" >&2
  exit 1
fi

mkdir -p "$build"
# The program's sources are compiled once and linked into every target. The targets themselves are
# held to -Werror; the linked sources are built with the flags of their own configurations.
sources=()
for f in core/*.cpp window/*.cpp tests/sim/*.cpp; do
  [ -e "$f" ] && sources+=("$f")
done
san="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
{
  echo "cxx = $cxx"
  echo "base = -std=c++20 -O1 -g $san -I$root -Wall -Wextra -Wno-missing-field-initializers"
  echo "rule cxx"
  echo "  command = \$cxx \$base -fsanitize=fuzzer-no-link \$extra -MMD -MF \$out.d -c \$in -o \$out"
  echo "  depfile = \$out.d"
  echo "  deps = gcc"
  echo "  description = CXX \$in"
  echo "rule ar"
  echo "  command = rm -f \$out && ar rcs \$out \$in"
  echo "  description = AR \$out"
  echo "rule link"
  echo "  command = \$cxx \$base -fsanitize=fuzzer \$in -o \$out -pthread"
  echo "  description = LINK \$out"
  objects=()
  for f in "${sources[@]}"; do
    o="obj/${f%.cpp}.o"
    objects+=("$o")
    echo "build $o: cxx $root/$f"
  done
  # An archive, so that each target takes only what it uses.
  echo "build obj/libtimrose.a: ar ${objects[*]}"
  for t in "${targets[@]}"; do
    echo "build obj/fuzz/${t}_fuzz.o: cxx $root/fuzz/${t}_fuzz.cpp"
    echo "  extra = -Werror"
    echo "build bin/${t}_fuzz: link obj/fuzz/${t}_fuzz.o obj/libtimrose.a"
  done
} >"$build/build.ninja.new"
# Rewriting an unchanged file would make ninja rebuild everything.
if cmp -s "$build/build.ninja.new" "$build/build.ninja"; then
  rm "$build/build.ninja.new"
else
  mv "$build/build.ninja.new" "$build/build.ninja"
fi
echo "== fuzz: building ${#targets[@]} targets with $cxx"
if ! ninja -C "$build" -j2 >"$build/build.log" 2>&1; then
  tail -n 60 "$build/build.log"
  echo "fuzz: build FAILED"
  exit 1
fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
status=0
summary=()
for t in "${targets[@]}"; do
  work=$build/corpus/$t
  kept=$root/fuzz/corpus/$t
  mkdir -p "$work" "$build/artifacts" "$kept"
  dict=()
  [ -f "$root/fuzz/$t.dict" ] && dict=("-dict=$root/fuzz/$t.dict")
  log=$build/$t.log
  echo "== fuzz $t: up to $seconds s or $runs runs"
  "$build/bin/${t}_fuzz" -max_total_time="$seconds" -runs="$runs" -timeout=20 -rss_limit_mb=2048 \
    -max_len=512 -print_final_stats=1 -artifact_prefix="$build/artifacts/$t-" "${dict[@]}" \
    "$work" "$kept" >"$log" 2>&1
  rc=$?
  execs=$(grep -E '^stat::number_of_executed_units:' "$log" | tail -n 1 | awk '{print $2}')
  execs=${execs:-0}
  if [ $rc -ne 0 ] || grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:' "$log"; then
    status=1
    summary+=("$t: FAILED after $execs executions (exit $rc, log $log)")
    grep -E 'runtime error:|ERROR:|SUMMARY:|PROPERTY|Test unit written' "$log" | head -n 20
  else
    summary+=("$t: ok, $execs executions")
  fi
done
echo "== fuzz summary"
printf '%s\n' "${summary[@]}"
exit $status
