#!/usr/bin/env bash
# Performance report: builds the optimised build in build/ (benchmarks on, the build type the
# top-level CMakeLists.txt picks: RelWithDebInfo) and prints, in one run, every speed and
# memory figure of the game and the engine beside its target, as a table
# "figure | measured | target | ok". The figures with a window run under Xvfb, where OpenGL is
# Mesa's software renderer (llvmpipe); the real game is measured from outside by
# bench/report/bench_process while it plays a scripted round.
#
#   scripts/perf-report.sh
#
# Every step has a time limit, and a figure that could not be measured says why. The exit
# status is 0 even when a target is missed (the ok column then says "no"); it is non-zero only
# when the build fails. The benchmarks' own outputs are kept in build/perf-report/. Figures
# taken on a loaded machine are noisy: the load average heads the report.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --test
cmake -S . -B build -G Ninja -DTUNDREL_WERROR=ON -DTUNDREL_BENCHMARKS=ON >/dev/null
benches=(bench_pacing bench_idle bench_round_frames bench_archive bench_find_path bench_collision
  bench_process bench_peer)
if ! cmake --build build -j "${PERF_JOBS:-2}" --target tundrel tundrel_stage media "${benches[@]}" \
  >build/perf-report-build.log 2>&1; then
  tail -30 build/perf-report-build.log >&2
  echo "perf-report: the build failed (build/perf-report-build.log)" >&2
  exit 1
fi

out=$PWD/build/perf-report
rm -rf "$out"
mkdir -p "$out"
bench=$PWD/build/bench
game=$PWD/build/tundrel
process=$bench/report/bench_process
frame_ms=16.667  # one frame at 60 frames per second

# Windows: Xvfb when it is there, else the desktop's display, else none.
if command -v xvfb-run >/dev/null; then
  display="Xvfb, 1280x1024x24 (Mesa software OpenGL)"
  on_display=(xvfb-run -a -s "-screen 0 1280x1024x24")
elif [ -n "${DISPLAY:-}" ]; then
  display="the desktop's display $DISPLAY"
  on_display=(env)
else
  display=""
  on_display=()
fi
# Without a sound card the real audio path runs on SDL's silent driver.
if [ -e /dev/snd ]; then
  audio="the sound card"
else
  audio="SDL's dummy driver (no sound card)"
  export SDL_AUDIODRIVER=dummy
fi

rows=()
# row FIGURE MEASURED TARGET OK
row() { rows+=("$1|$2|$3|$4"); }
# The first number after TEXT in FILE (its first such line), or nothing.
after() { sed -n "s/.*$2 *\([-0-9.]*\).*/\1/p" "$1" | head -1; }
# yes when VALUE OP LIMIT (OP: le, ge, eq), else no.
meets() {
  awk -v v="$1" -v op="$2" -v t="$3" 'BEGIN {
    ok = op == "le" ? v <= t : op == "ge" ? v >= t : v == t; print ok ? "yes" : "no" }'
}
# run NAME SECONDS COMMAND...: the command's output in $out/NAME.txt, its exit status in
# $status (124 when it ran out of time).
run() {
  local name=$1 limit=$2
  shift 2
  status=0
  timeout -k 5 "$limit" "$@" >"$out/$name.txt" 2>&1 || status=$?
}
# run_windowed NAME SECONDS COMMAND...: the same on the display.
run_windowed() {
  if [ -z "$display" ]; then
    status=127
    echo "no display" >"$out/$1.txt"
    return
  fi
  local name=$1 limit=$2
  shift 2
  run "$name" "$limit" "${on_display[@]}" "$@"
}
# Why a figure is missing: no display, out of time, or the program's own complaint.
why() {
  if [ -z "$display" ] && [ "${2:-}" = display ]; then
    echo "not measured: no Xvfb and no display"
  elif [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
    echo "not measured: ran out of time"
  else
    echo "not measured: $(grep -v '^ALSA\|^$' "$out/$1.txt" | tail -1 | cut -c1-60)"
  fi
}

# --- frame pacing: 600 frames of an empty loop with a window --------------------------------
# Under bench_process: a window with nothing drawn is the floor under the game's figures.
run_windowed pacing 120 "$process" -- "$bench/frame/bench_pacing"
median=$(after "$out/pacing.txt" "median frame interval:")
p99=$(after "$out/pacing.txt" "99th percentile |interval - period|:")
early=$(after "$out/pacing.txt" "frames released before their deadline:")
period=$(after "$out/pacing.txt" "period")
if [ -n "$median" ] && [ -n "$p99" ] && [ -n "$early" ]; then
  row "frame pacing: median interval" "$median ms" "the period, $period ms" "-"
  row "frame pacing: p99 distance from the period" "$p99 ms" "<= 1 ms" "$(meets "$p99" le 1)"
  row "frame pacing: frames released early" "$early of 600" "0" "$(meets "$early" eq 0)"
else
  row "frame pacing" "$(why pacing display)" "p99 <= 1 ms, 0 early" "n/a"
fi
floor_share=$(sed -n 's/^processor time: .*, \([0-9.]*\)% of a core/\1/p' "$out/pacing.txt")
floor_peak=$(sed -n 's/^peak resident memory: .*(\([0-9.]*\) MiB)/\1/p' "$out/pacing.txt")

# --- processor share of a key wait ------------------------------------------------------------
run_windowed idle 60 "$bench/frame/bench_idle"
idle=$(sed -n 's/^processor time: .* = \([0-9.]*\)% of one core.*/\1/p' "$out/idle.txt")
if [ -n "$idle" ]; then
  tap=$(sed -n 's/^30 ms tap seen: //p' "$out/idle.txt")
  row "processor in a key wait (30 ms tap seen: $tap)" "$idle% of a core" "<= 5%" \
    "$(meets "$idle" le 5)"
else
  row "processor in a key wait" "$(why idle display)" "<= 5%" "n/a"
fi

# --- the real game playing a round under bench_process ----------------------------------------
# Title, menu and selection go by with Enter; then both penguins walk the four ways and spray,
# until the window closes at 22 s. Processor share from 8 s to 20 s, well inside the round.
session=$out/session
mkdir -p "$session"
ln -sf "$PWD/build/Media.sbx" "$session/Media.sbx"
{
  echo "# Through title, menu and selection, then a round of walking and spraying."
  for at in 2500 3500 4500; do echo "$at key Enter down"; echo "$((at + 100)) key Enter up"; done
  keys=(Right Up Left Down)
  for ((at = 5000, i = 0; at < 21000; at += 700, i++)); do
    echo "$at key ${keys[i % 4]} down"
    echo "$((at + 650)) key ${keys[i % 4]} up"
    if ((i % 2 == 0)); then
      echo "$((at + 300)) key Space down"
      echo "$((at + 380)) key Space up"
    fi
  done
  echo "22000 close"
} >"$session/play.script"
# At scale 1, as the targets were set: the game's own choice, as large as fits (2 on this
# display), makes llvmpipe fill four times the pixels.
play_args=(--dir "$session" --seed 7 --scale 1 --script "$session/play.script")
run_windowed play 120 "$process" --cpu-window 8:20 --timeout 60 --log "$session/game.log" \
  -- "$game" "${play_args[@]}" --trace "$session/trace.json"
share=$(sed -n 's/^processor share .*, \([0-9.]*\)% of a core/\1/p' "$out/play.txt")
peak=$(sed -n 's/^peak resident memory: .*(\([0-9.]*\) MiB)/\1/p' "$out/play.txt")
# Frames of the window by the trace's clock (which starts with the engine, a little after the
# process), and how many of them the round itself presented (the rest: a penguin caught).
in_window='"ms":\([89][0-9]\{3\}\|1[0-9]\{4\}\)\.'
window_frames=$(grep -c "$in_window" "$session/trace.json" 2>/dev/null || true)
round_frames=$(grep -c "$in_window.*\"screen\":\"round\"" "$session/trace.json" 2>/dev/null || true)
figure="processor during play, real mode, 8-20 s"
if [ -n "$share" ] && ((${round_frames:-0} >= 100)); then
  row "$figure ($round_frames of $window_frames frames in the round)" "$share% of a core" \
    "<= 25%" "$(meets "$share" le 25)"
elif [ -n "$share" ]; then
  row "$figure" "not measured: the game reached no round (${round_frames:-0} frames)" \
    "<= 25%" "n/a"
else
  row "$figure" "$(why play display)" "<= 25%" "n/a"
fi
if [ -n "$peak" ] && grep -q '^exit status: 0' "$out/play.txt"; then
  row "peak resident memory, play session, real mode" "$peak MiB" "<= 64 MiB" \
    "$(meets "$peak" le 64)"
else
  row "peak resident memory, play session, real mode" "$(why play display)" "<= 64 MiB" "n/a"
fi
# The same session headless: the game's own memory, without the window system and GL driver.
run play_headless 120 "$process" -- "$game" --headless "${play_args[@]}" --max-frames 1320
peak=$(sed -n 's/^peak resident memory: .*(\([0-9.]*\) MiB)/\1/p' "$out/play_headless.txt")
if [ -n "$peak" ] && grep -q '^exit status: 0' "$out/play_headless.txt"; then
  row "peak resident memory, same session headless" "$peak MiB" "<= 64 MiB" \
    "$(meets "$peak" le 64)"
else
  row "peak resident memory, same session headless" "$(why play_headless)" "<= 64 MiB" "n/a"
fi
if [ -n "$floor_share" ] && [ -n "$floor_peak" ]; then
  row "the floor: empty window, 600 paced frames (bench_pacing)" \
    "$floor_share% of a core, peak $floor_peak MiB" "-" "-"
fi

# --- start-up: process start to the first presented title frame, best of three ---------------
starts=()
for try in 1 2 3; do
  run_windowed "start$try" 60 "$process" --timeout 30 --log "$session/start.log" \
    --first-line "$session/start.json" '"screen":"title"' \
    -- "$game" --dir "$session" --seed 7 --scale 1 --max-frames 30 --trace "$session/start.json"
  seconds=$(after "$out/start$try.txt" 'first line containing "screen":"title":')
  [ -n "$seconds" ] && starts+=("$seconds")
done
if ((${#starts[@]} > 0)); then
  sorted=$(printf '%s\n' "${starts[@]}" | sort -n | tr '\n' ' ')
  best=${sorted%% *}
  row "start to first title frame (best of ${#starts[@]}: ${sorted% })" "$best s" "<= 0.5 s" \
    "$(meets "$best" le 0.5)"
  # Where the time goes, by the engine's clock in the last try's trace.
  first_ms=$(sed -n '1s/.*"ms":\([0-9.]*\),.*/\1/p' "$session/start.json")
  title=$(grep -m1 '"screen":"title"' "$session/start.json" |
    sed -n 's/{"frame":\([0-9]*\),"ms":\([0-9.]*\),.*/\1 \2/p')
  if [ -n "$first_ms" ] && [ -n "$title" ]; then
    row "  engine clock: first frame, first title frame" \
      "$first_ms ms, ${title#* } ms (frame ${title% *})" "-" "-"
  fi
else
  row "start to first title frame" "$(why start3 display)" "<= 0.5 s" "n/a"
fi

# --- beside the peer: round 1 and the menu against a plain SDL_Renderer program ---------------
# scripts/peer-figures.sh: every program once per round of measurements, three rounds, medians;
# at 640x480 and 1280x960. The game as chosen here (the CPU renderer, under software OpenGL)
# and with --renderer gl.
if [ -n "$display" ]; then
  status=0
  timeout -k 5 1500 scripts/peer-figures.sh build 3 >"$out/peer.txt" 2>&1 || status=$?
fi
peer_cell() {  # PROGRAM SIZE FIELD (3: processor share, 4: peak MiB)
  awk -F' [|] ' -v p="$1" -v s="$2" -v f="$3" '$1 == p && $2 == s { split($f, v, " "); print v[1] }' \
    "$out/peer.txt" 2>/dev/null
}
for size in 640x480 1280x960; do
  cpu=$(peer_cell round-cpu "$size" 3)
  gl=$(peer_cell round-gl "$size" 3)
  peer=$(peer_cell peer-gl "$size" 3)
  soft=$(peer_cell peer-cpu "$size" 3)
  menu=$(peer_cell menu-cpu "$size" 3)
  limit=$([ "$size" = 640x480 ] && echo 0.333 || echo 0.5)
  if [ -n "$cpu" ] && [ -n "$peer" ] && [ "$cpu" != nan ] && [ "$peer" != nan ]; then
    ratio=$(awk -v c="$cpu" -v p="$peer" 'BEGIN { printf "%.2f", c / p }')
    row "round 1 at $size: game (CPU renderer) / peer (SDL OpenGL)" \
      "$cpu% / $peer% = $ratio (game --renderer gl $gl%, menu $menu%, peer SDL software $soft%)" \
      "<= $limit" "$(meets "$ratio" le "$limit")"
  else
    row "round 1 at $size beside the peer" "$(why peer display)" "<= $limit of the peer" "n/a"
  fi
  peak=$(peer_cell round-cpu "$size" 4)
  if [ -n "$peak" ] && [ "$peak" != nan ]; then
    row "peak resident memory, round 1 at $size, CPU renderer" \
      "$peak MiB (--renderer gl $(peer_cell round-gl "$size" 4), peer GL $(peer_cell peer-gl "$size" 4), peer software $(peer_cell peer-cpu "$size" 4))" \
      "<= 60 MiB" "$(meets "$peak" le 60)"
  fi
done
start_cpu=$(sed -n 's/^start to first title frame, cpu: best \([0-9.]*\) s.*/\1/p' "$out/peer.txt" 2>/dev/null)
start_gl=$(sed -n 's/^start to first title frame, gl: best \([0-9.]*\) s.*/\1/p' "$out/peer.txt" 2>/dev/null)
if [ -n "$start_cpu" ]; then
  row "start to first title frame, CPU renderer (best of 3)" "$start_cpu s (--renderer gl ${start_gl:-?} s)" \
    "<= 0.3 s" "$(meets "$start_cpu" le 0.3)"
fi

# --- the round loop: headless frames per second, real-mode frame cost -------------------------
# "  round 15: spiders, a bird, flames   20000 frames,  5123.4 frames/s,  0.195 ms/frame ...":
# frames per second and wall milliseconds per frame (later columns, when there, are left out).
round_figures() {
  grep '^  round ' "$out/$1.txt" |
    sed -n 's/.* frames, *\([0-9.]*\) frames\/s, *\([0-9.]*\) ms\/frame.*/\1 \2/p'
}
run rounds_headless 300 "$bench/game/bench_round_frames"
figures=$(round_figures rounds_headless)
if [ -n "$figures" ]; then
  slowest=$(awk 'NR == 1 || $1 < m {m = $1} END {printf "%.0f", m}' <<<"$figures")
  fastest=$(awk '$1 > m {m = $1} END {printf "%.0f", m}' <<<"$figures")
  row "round loop, headless: slowest of 4 rounds" "$slowest frames/s (fastest $fastest)" \
    "-" "-"
else
  row "round loop, headless" "$(why rounds_headless)" "-" "n/a"
fi
run_windowed rounds_real 300 "$bench/game/bench_round_frames" --real
figures=$(round_figures rounds_real)
if [ -n "$figures" ]; then
  slowest=$(awk '$2 > m {m = $2} END {printf "%.2f", m}' <<<"$figures")
  fastest=$(awk 'NR == 1 || $2 < m {m = $2} END {printf "%.2f", m}' <<<"$figures")
  empty=$(sed -n 's/^  empty frame.*frames\/s, *\([0-9.]*\) ms\/frame.*/\1/p' \
    "$out/rounds_real.txt")
  row "round frame, real mode (llvmpipe): slowest of 4" \
    "$slowest ms (fastest $fastest, empty frame ${empty:-?})" "< $frame_ms ms (60/s)" \
    "$(meets "$slowest" le "$frame_ms")"
else
  row "round frame, real mode (llvmpipe)" "$(why rounds_real display)" "< $frame_ms ms" "n/a"
fi

# --- archive, path finding, collision ---------------------------------------------------------
run archive 120 "$bench/files/bench_archive"
for kind in "game-like" "incompressible"; do
  section=$(sed -n "/^$kind data/,/temporary file/p" "$out/archive.txt")
  raw=$(sed -n 's/.*lzo1x_decompress_safe alone .* \([0-9]*\) MiB\/s.*/\1/p' <<<"$section")
  resolved=$(sed -n 's/.*resolve as memory file .* \([0-9]*\) MiB\/s *\([0-9.]*\)x.*/\1 \2/p' \
    <<<"$section")
  if [ -n "$raw" ] && [ -n "$resolved" ]; then
    row "archive item 1 MiB, $kind: resolve vs bare lzo1x" \
      "${resolved% *} MiB/s vs $raw MiB/s (${resolved#* }x the bare time)" "-" "-"
  else
    row "archive item 1 MiB, $kind" "$(why archive)" "-" "n/a"
  fi
done
run find_path 120 "$bench/path/bench_find_path"
maze=$(sed -n 's/^FindPath maze .* \([0-9.]*\) us per call.*/\1/p' "$out/find_path.txt" | head -1)
open=$(sed -n 's/^FindPath open .* \([0-9.]*\) us per call.*/\1/p' "$out/find_path.txt" | head -1)
if [ -n "$maze" ] && [ -n "$open" ]; then
  row "FindPath per call, corner to corner 17x12" "maze $maze us, open $open us" "-" "-"
else
  row "FindPath per call" "$(why find_path)" "-" "n/a"
fi
run collision 120 "$bench/graphics/bench_collision"
hit=$(sed -n 's/.*(hit) .* \([0-9.]*\) ns\/call.*/\1/p' "$out/collision.txt")
miss=$(sed -n 's/.*(miss) .* \([0-9.]*\) ns\/call.*/\1/p' "$out/collision.txt")
apart=$(sed -n 's/.*rectangles apart .* \([0-9.]*\) ns\/call.*/\1/p' "$out/collision.txt")
if [ -n "$hit" ] && [ -n "$miss" ] && [ -n "$apart" ]; then
  row "AnimCollision per call, 32x32 frames" "hit $hit ns, worst miss $miss ns, apart $apart ns" \
    "-" "-"
else
  row "AnimCollision per call" "$(why collision)" "-" "n/a"
fi

# --- the report -------------------------------------------------------------------------------
echo "Tundrel performance report, $(date -u '+%Y-%m-%d %H:%M UTC'), $(git rev-parse --short HEAD)"
echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg) (1, 5, 15 min)"
echo "build: build/, $(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' build/CMakeCache.txt)," \
  "$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' build/CMakeCache.txt)"
echo "windows: ${display:-none}; audio: $audio"
echo
printf '%s\n' "figure|measured|target|ok" "${rows[@]}" | awk -F'|' '
  { for (i = 1; i <= NF; i++) { cell[NR, i] = $i; if (length($i) > w[i]) w[i] = length($i) } }
  END {
    for (r = 1; r <= NR; r++) {
      printf "%-*s | %-*s | %-*s | %s\n", w[1], cell[r, 1], w[2], cell[r, 2], w[3], cell[r, 3], cell[r, 4]
      if (r == 1) printf "%s-|-%s-|-%s-|-%s\n", dash(w[1]), dash(w[2]), dash(w[3]), dash(w[4])
    }
  }
  function dash(n,  s) { s = ""; while (n-- > 0) s = s "-"; return s }'
echo
echo "The benchmarks' own outputs: build/perf-report/"
