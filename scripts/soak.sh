#!/usr/bin/env bash
# Soak: hours of headless play compressed into minutes, in the sanitizer build (clang,
# AddressSanitizer and UndefinedBehaviorSanitizer, in build-soak/ so build-asan/ keeps its own
# configuration). bench/game/bench_soak plays the whole game headless under random input,
# one seed per run of 25 000 frames (odd seeds start in a round between 1 and 60), and checks
# every traced frame. Here every run of the game goes through bench/report/bench_process,
# which stops a run that takes too long (a hang) and samples its resident memory.
#
#   scripts/soak.sh [minutes] [seeds]
#
#   seeds    the length of the soak in runs of 25 000 frames (default 40: 10^6 frames, 4.6 h of
#            play). bench_soak plays seed after seed until that many frames are played; a run
#            ends early on a game over with nobody to start the next one.
#   minutes  the most the whole soak may take (default 60); past it the soak is stopped and
#            counts as hung. One run may take SOAK_RUN_SECONDS (default 300).
#
# Fails (exit 1) on a crash (sanitizer report, leak, signal, non-zero exit), a hang, a traced
# value out of range, or resident memory that keeps growing within a run. Builds with -j2
# (SOAK_JOBS to change). Prints a summary at the end; the whole output is also kept in
# build-soak/soak.log.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

minutes=${1:-60}
seeds=${2:-40}
if ! [[ $minutes =~ ^[1-9][0-9]*$ && $seeds =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: scripts/soak.sh [minutes] [seeds]  (whole numbers above 0)" >&2
  exit 2
fi
frames_per_run=25000  # bench_soak's run length
frames=$((seeds * frames_per_run))
run_seconds=${SOAK_RUN_SECONDS:-300}
# Growth of resident memory from a quarter into a run to its end that counts as a leak: both
# this many KiB and this share (a leak of 1 KiB a frame adds 24 MiB in a run).
growth_limit_kib=8192
growth_limit_percent=10
min_judged_seconds=8

scripts/install-deps.sh --test
build="build-soak"
cmake -S . -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DTUNDREL_SANITIZE=ON -DTUNDREL_BENCHMARKS=ON -DTUNDREL_WERROR=OFF >/dev/null
if ! cmake --build "$build" -j "${SOAK_JOBS:-2}" --target bench_soak bench_process \
  >"$build/soak-build.log" 2>&1; then
  tail -30 "$build/soak-build.log" >&2
  echo "soak: the build failed ($build/soak-build.log)" >&2
  exit 1
fi
source scripts/sanitizer_env.sh
# The sanitizer keeps freed blocks from reuse to catch a use after free. Its default of 256 MiB
# fills slowly over a whole run and looks like a leak in the memory samples (4 MiB still adds
# 6 MiB over a run); 1 MiB of freed blocks spans many frames and is full within a second.
export ASAN_OPTIONS="${ASAN_OPTIONS}:quarantine_size_mb=1"

# A stand-in build folder for bench_soak: its tundrel and tundrel_stage are small scripts that
# run the real programs under bench_process, one report per run.
work=$(mktemp -d "${TMPDIR:-/tmp}/tundrel-soak.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bench/game" "$work/runs"
ln -s "$repo/$build/bench/game/bench_soak" "$work/bench/game/bench_soak"
ln -s "$repo/$build/Media.sbx" "$work/Media.sbx"
for program in tundrel tundrel_stage; do
  cat >"$work/$program" <<EOF
#!/usr/bin/env bash
seed=none
previous=
for arg in "\$@"; do [ "\$previous" = --seed ] && seed=\$arg; previous=\$arg; done
exec "$repo/$build/bench/report/bench_process" --rss-every 250 --timeout $run_seconds \\
  --pass-status -- "$repo/$build/$program" "\$@" >"$work/runs/$program-seed\$seed-\$\$.txt"
EOF
  chmod +x "$work/$program"
done

log=$build/soak.log
echo "soak: $frames frames ($seeds runs' worth), sanitizer build, at most $minutes min" |
  tee "$log"
start=$(date +%s)
soak_status=0
# With pipefail the pipe's status is bench_soak's (timeout's 124 when it ran too long).
# Line-buffered, so the runs so far show even when the soak is stopped.
timeout -k 10 "$((minutes * 60))" stdbuf -oL "$work/bench/game/bench_soak" "$frames" 2>&1 |
  tee -a "$log" || soak_status=$?
elapsed=$(($(date +%s) - start))

# Every run's report from bench_process: exit status and memory samples.
runs=0 crashes=0 hangs=0 leaks=0
growth_lines=()
for report in "$work"/runs/*.txt; do
  [ -e "$report" ] || continue
  runs=$((runs + 1))
  name=$(basename "$report" .txt)
  name=${name%-*}
  status=$(sed -n 's/^exit status: //p' "$report")
  # A run ended along with the whole soak when that ran out of time is counted once, below.
  if [[ $status == "signal 15"* ]] && ((soak_status == 124)); then
    :
  elif [[ $status == timeout* ]]; then
    hangs=$((hangs + 1))
    echo "HANG: $name ($status)" | tee -a "$log"
  elif [ "$status" != 0 ]; then
    crashes=$((crashes + 1))
    echo "CRASH: $name (exit status $status)" | tee -a "$log"
  fi
  # A run judged for memory lasts long enough for start-up to be over by its quarter.
  wall=$(sed -n 's/^wall time: \([0-9]*\).*/\1/p' "$report")
  memory=$(grep '^resident memory:' "$report" || true)
  if ((${wall:-0} >= min_judged_seconds)) &&
    [[ $memory =~ at\ a\ quarter\ ([0-9]+)\ KiB,\ last\ ([0-9]+)\ KiB ]]; then
    settled=${BASH_REMATCH[1]} last=${BASH_REMATCH[2]}
    growth=$((last - settled))
    growth_lines+=("$growth $settled $last $name")
    if ((growth > growth_limit_kib && growth * 100 > settled * growth_limit_percent)); then
      leaks=$((leaks + 1))
      echo "MEMORY GROWTH: $name: $settled KiB -> $last KiB" | tee -a "$log"
    fi
  fi
done
problems=$(sed -n 's/^\(PASS\|FAIL\): \([0-9]*\) problem.*/\2/p' "$log" | tail -1)
# Runs of bench_soak: "  game from the title,  seed  2:  25000 frames in 10.35 s (...".
seed_runs=$(grep -c '^  .* seed *[0-9]*: *[0-9]* frames in' "$log" || true)
frames_run=$(sed -n 's/^  .* seed *[0-9]*: *\([0-9]*\) frames in.*/\1/p' "$log" |
  awk '{sum += $1} END {print sum + 0}')
run_fps=$(sed -n 's/^total: .*: \([0-9]*\) frames per second.*/\1/p' "$log")
# The memory check's two runs come on top: "memory: ... after A frames, ... after B frames".
check_frames=$(sed -n 's/^memory: .* after \([0-9]*\) frames, .* after \([0-9]*\) frames.*/\1 \2/p' \
  "$log" | awk '{print $1 + $2}')
all_frames=$((frames_run + ${check_frames:-0}))

if [ "$soak_status" -eq 124 ] || [ "$soak_status" -eq 137 ]; then
  hangs=$((hangs + 1))
  echo "HANG: the whole soak did not finish within $minutes min" | tee -a "$log"
fi
worst="none"
typical="none"
if ((${#growth_lines[@]} > 0)); then
  worst=$(printf '%s\n' "${growth_lines[@]}" | sort -n | tail -1 |
    awk '{printf "%+d KiB (%s: %d -> %d KiB)", $1, $4, $2, $3}')
  typical=$(printf '%s\n' "${growth_lines[@]}" | sort -k2,2n | awk '{a[NR]=$0} END {
    split(a[int((NR + 1) / 2)], m, " "); printf "%.1f MiB -> %.1f MiB", m[2] / 1024, m[3] / 1024}')
fi
fail=0
if [ "$soak_status" -ne 0 ] || ((crashes + hangs + leaks > 0 || frames_run < frames)); then
  fail=1
fi

{
  echo
  echo "== soak summary =="
  printf '  frames run:        %s of %s (%s h of play at 60 frames/s)\n' "$frames_run" \
    "$frames" "$(awk -v f="$frames_run" 'BEGIN {printf "%.1f", f / 60 / 3600}')"
  printf '  time:              %d min %02d s\n' $((elapsed / 60)) $((elapsed % 60))
  printf '  frames/s:          %s over the time the runs took; %s over the wall time of the\n' \
    "${run_fps:-?}" "$(awk -v f="$all_frames" -v s="$elapsed" \
      'BEGIN {printf "%.0f", (s > 0 ? f / s : 0)}')"
  printf '                     soak (%d frames with the memory check)\n' "$all_frames"
  printf '  runs:              %d: seeds 1 to %d, and %d for bench_soak'"'"'s memory check (or cut short)\n' \
    "$runs" "$seed_runs" $((runs - seed_runs))
  printf '  crashes:           %d\n' "$crashes"
  printf '  hangs:             %d (a run may take %d s, the soak %d min)\n' "$hangs" \
    "$run_seconds" "$minutes"
  printf '  trace problems:    %s (bench_soak: exit status, stderr, traced values)\n' \
    "${problems:-unknown}"
  printf '  RSS settled->last: median run %s (a quarter into a run, then its end)\n' "$typical"
  printf '                     largest growth %s\n' "$worst"
  printf '  memory growth:     %d run(s) over +%d KiB and +%d%%, of %d run(s) of %d s or more\n' \
    "$leaks" "$growth_limit_kib" "$growth_limit_percent" "${#growth_lines[@]}" \
    "$min_judged_seconds"
  echo "  bench_soak exit:   $soak_status"
  if ((fail)); then echo "FAIL"; else echo "PASS"; fi
} | tee -a "$log"
exit "$fail"
