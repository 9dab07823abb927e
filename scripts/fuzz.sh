#!/usr/bin/env bash
# Runs the fuzz targets (fuzz/README.md) at the lowest CPU priority, each for SECONDS
# (default 60), FUZZ_JOBS of them at a time (default 1), and prints executions and findings per
# target.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]     TARGET: archive_format, png, ... (default: all)
#
# Needs build-asan/ (scripts/sanitize.sh builds it; FUZZ_BUILD names another folder). Each
# target starts from its seeds in fuzz/corpus/TARGET/ plus what earlier runs found, kept in
# BUILD/fuzz-work/TARGET/corpus/ (the repository's seeds are never written to). A crash, leak,
# timeout or failed check leaves its input in BUILD/fuzz-work/TARGET/ and fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."
repo="$(pwd)"

seconds="${1:-60}"
shift || true
build="${FUZZ_BUILD:-build-asan}"
all_targets=(archive_format archive_resolve bmp png jpeg wave mp3_length read_data number_text
             find_path input_script replay settings)
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all_targets[@]}")

source scripts/sanitizer_env.sh
for target in "${targets[@]}"; do
  if [ ! -x "$build/fuzz/fuzz_$target" ]; then
    echo "fuzz: $build/fuzz/fuzz_$target is missing (run scripts/sanitize.sh first)" >&2
    exit 2
  fi
done

# One target's run; its report goes to BUILD/fuzz-work/TARGET/report, "failed" marks a finding.
fuzz_target() {
  local target=$1
  local work="$build/fuzz-work/$target"
  mkdir -p "$work/corpus" "$work/tmp"
  work="$(cd "$work" && pwd)"
  rm -f "$work/failed"
  local corpora=("$work/corpus")
  [ -d "fuzz/corpus/$target" ] && corpora+=("$repo/fuzz/corpus/$target")
  local log="$work/last-run.log" status=0
  # Temporary files the targets make go to their own folder, removed with the build.
  TMPDIR="$work/tmp" nice -n 19 "$build/fuzz/fuzz_$target" -max_total_time="$seconds" \
    -timeout=10 -rss_limit_mb=2048 -close_fd_mask=1 -print_final_stats=1 \
    -artifact_prefix="$work/" "${corpora[@]}" >"$log" 2>&1 || status=$?
  local runs corpus
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)"
  corpus="$(find "$work/corpus" -type f | wc -l)"
  if [ "$status" -eq 0 ]; then
    printf 'fuzz_%-16s %10s runs in %ss, %s inputs in its corpus, no findings\n' \
      "$target" "${runs:-?}" "$seconds" "$corpus" >"$work/report"
  else
    {
      printf 'fuzz_%-16s FAILED (exit %s) after %s runs; log: %s\n' \
        "$target" "$status" "${runs:-?}" "$log"
      grep -E '^(==[0-9]+==ERROR|SUMMARY|.*check failed|artifact_prefix|Test unit written)' \
        "$log" | head -20 || true
    } >"$work/report"
    touch "$work/failed"
  fi
}

jobs="${FUZZ_JOBS:-1}"
running=0
for target in "${targets[@]}"; do
  if [ "$running" -ge "$jobs" ]; then
    wait -n || true
    running=$((running - 1))
  fi
  fuzz_target "$target" &
  running=$((running + 1))
done
wait

failed=()
for target in "${targets[@]}"; do
  cat "$build/fuzz-work/$target/report"
  [ -e "$build/fuzz-work/$target/failed" ] && failed+=("$target")
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: findings in ${failed[*]}" >&2
  exit 1
fi
