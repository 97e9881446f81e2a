#!/usr/bin/env bash
# The reader fuzz harnesses (fuzz/), built natively with clang, libFuzzer, ASan and UBSan.
#   scripts/fuzz.sh build                  configure and build build-fuzz/
#   scripts/fuzz.sh replay [harness...]    run every committed corpus and regression input once
#   scripts/fuzz.sh campaign [harness...]  fuzz each harness for $WXLM_FUZZ_SECONDS (default 60), or
#                                          until $WXLM_FUZZ_RUNS executions when that comes first
# The harnesses are 32-bit programs (-m32, integer sizes as on the target) wherever this host
# starts one, natively or through qemu-user; else x86_64 ($WXLM_FUZZ_ARCH=i386|x86_64 chooses).
# LeakSanitizer's stop-the-world tracer hangs under qemu-user, so there leaks are not looked
# for in the 32-bit programs, and replay also runs an x86_64 build (build-fuzz-x86_64/) for them.
# There ASan's quarantine is kept small too: with its default 256 MB a long campaign ran out of
# the emulated address space (an allocator CHECK failure inside ASan, not in our code). And
# libFuzzer's RSS watcher thread is not started there (the memory limit is on malloc instead):
# with a second thread, ASan under the emulator took the fuzzing loop for that thread and
# reported errors no input reproduced (an FPE inside libFuzzer's own input scheduler, a stack
# overflow in memory its own thread owned). Emulated code runs about three times slower, so an
# input counts as hanging after 30 seconds there instead of 10.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WXLM_FUZZ_BUILD:-$root/build-fuzz}
mapfile -t harnesses < "$root/fuzz/harnesses.txt"
declare -A dictionaries=([values]=values [skin_xml]=xml [skin_zip]=zip [command_line]=command_line
                         [command_json]=json [exit_notice]=json [page_request]=json [client_settings]=xml
                         [uninstall_entry]=registry [markup_text]=markup [decoded_image]=image)

source "$root/scripts/arch.sh"
# The harnesses that write files do it in a private folder under $TMPDIR; memory is faster than disk.
if [ -z "${TMPDIR:-}" ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi

runner=()
arch=${WXLM_FUZZ_ARCH:-}
if i386_runner=$(wxlm_i386_runner); then
  [ -n "$i386_runner" ] && [ "$arch" != x86_64 ] && runner=("$i386_runner")
  arch=${arch:-i386}
else
  arch=${arch:-x86_64}
fi
case "$arch" in
  i386|x86_64) ;;
  *) echo "WXLM_FUZZ_ARCH must be i386 or x86_64, not '$arch'" >&2; exit 2 ;;
esac
# Builds whose programs replay the inputs: the main one, and the leak-checking one under qemu-user.
builds=("$build")
[ ${#runner[@]} -gt 0 ] && builds+=("$build-x86_64")

fuzz_configure_and_build() {
  local dir=$1 m32=$2
  if [ ! -f "$dir/build.ninja" ] || ! grep -qx "WXLM_FUZZ_M32:BOOL=$m32" "$dir/CMakeCache.txt"; then
    cmake --fresh -S "$root/fuzz" -B "$dir" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DWXLM_FUZZ_M32=$m32 >/dev/null
  fi
  cmake --build "$dir" >/dev/null
}

fuzz_build() {
  local m32=OFF
  [ "$arch" = i386 ] && m32=ON
  fuzz_configure_and_build "$build" $m32
  [ ${#builds[@]} -eq 1 ] || fuzz_configure_and_build "$build-x86_64" OFF
}

# Runs harness $2 of build $1 with the rest as its arguments.
run_harness() {
  local dir=$1 h=$2
  shift 2
  if [ "$dir" = "$build" ] && [ ${#runner[@]} -gt 0 ]; then
    ASAN_OPTIONS="detect_leaks=0:quarantine_size_mb=32${ASAN_OPTIONS:+:$ASAN_OPTIONS}" "${runner[@]}" "$dir/fuzz_$h" -detect_leaks=0 "$@" \
      -rss_limit_mb=0 -malloc_limit_mb=2048 -timeout=30
  else
    "$dir/fuzz_$h" "$@"
  fi
}

inputs() {
  find "$root/fuzz/corpus/$1" "$root/fuzz/regressions/$1" -type f 2>/dev/null | sort
}

replay_batch=100

replay() {
  local h failed=0
  for h in "$@"; do
    local files
    mapfile -t files < <(inputs "$h")
    if [ ${#files[@]} -eq 0 ]; then
      echo "fuzz replay: $h has no inputs" >&2
      failed=1
      continue
    fi
    local dir name i passed
    for dir in "${builds[@]}"; do
      name=$(basename "$dir")
      # A process per batch of inputs: under the emulator, a few dozen large images (a GIF's
      # canvas takes four buffers of its size) in one process exhaust ASan's 32-bit address space.
      passed=1
      : >"$dir/replay-$h.log"
      for ((i = 0; i < ${#files[@]}; i += replay_batch)); do
        run_harness "$dir" "$h" -timeout=10 -rss_limit_mb=2048 "${files[@]:i:replay_batch}" >>"$dir/replay-$h.log" 2>&1 ||
          { passed=0; break; }
      done
      if [ $passed = 1 ]; then
        echo "fuzz replay: $h ${#files[@]} inputs passed ($name)"
      else
        echo "fuzz replay: $h FAILED ($name, log: $dir/replay-$h.log)" >&2
        tail -n 30 "$dir/replay-$h.log" >&2
        failed=1
      fi
    done
  done
  return $failed
}

campaign() {
  local h seconds=${WXLM_FUZZ_SECONDS:-60} runs=${WXLM_FUZZ_RUNS:--1}
  for h in "$@"; do
    local work="$build/campaign/$h" findings="$build/findings/$h/"
    mkdir -p "$work" "$findings"
    local dict=() seeds=() dir
    [ -n "${dictionaries[$h]:-}" ] && dict=(-dict="$root/fuzz/dict/${dictionaries[$h]}.dict")
    for dir in "$root/fuzz/corpus/$h" "$root/fuzz/regressions/$h"; do
      [ -d "$dir" ] && seeds+=("$dir")
    done
    # 32-bit glibc's readdir fails on this host's 64-bit inode numbers, so an emulated harness is
    # handed its corpus and seeds as a list of files (it still writes new units into $work).
    if [ ${#runner[@]} -gt 0 ]; then
      find "$work" "${seeds[@]}" -type f | paste -sd, >"$build/campaign-$h.inputs"
      seeds=(-seed_inputs=@"$build/campaign-$h.inputs")
    fi
    echo "fuzz campaign: $h ($arch) for ${seconds}s (corpus $work, findings $findings)"
    run_harness "$build" "$h" -max_total_time="$seconds" -runs="$runs" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$findings" "${dict[@]}" "$work" "${seeds[@]}" \
      >"$build/campaign-$h.log" 2>&1 || echo "fuzz campaign: $h stopped on a finding, see $findings" >&2
    grep -E '^stat::number_of_executed_units|^stat::average_exec_per_sec|DONE|ERROR' "$build/campaign-$h.log" |
      tail -n 4 || true
    # When coverage (edges) last grew: the campaign should run well past it.
    awk '/^#[0-9]+.* cov: / { for (i = 1; i < NF; ++i) if ($i == "cov:" && $(i + 1) != last) { last = $(i + 1); at = $1 } }
         END { if (at != "") print "  coverage " last " edges, last grown at execution " substr(at, 2) }' \
      "$build/campaign-$h.log"
  done
}

command=${1:-replay}
shift || true
[ $# -gt 0 ] || set -- "${harnesses[@]}"
fuzz_build
case "$command" in
  build) ;;
  replay) replay "$@" ;;
  campaign) campaign "$@" ;;
  *) echo "usage: scripts/fuzz.sh build|replay|campaign [harness...]" >&2; exit 2 ;;
esac
