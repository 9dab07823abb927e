#!/usr/bin/env bash
# The game's processor share and peak memory beside the peer's (bench/peer: a plain
# SDL_Renderer program drawing a like frame), at 640x480 and 1280x960, in one run: each round
# of measurements takes every program once, in turn (A B C A B C ...), and the table gives the
# median of the rounds. The game runs as the CPU renderer (the choice under Xvfb's software
# OpenGL) and as --renderer gl (what every run drew through before).
#
#   scripts/peer-figures.sh [build-dir] [rounds]     (default: build, 3)
#
# Each program runs in an Xvfb of its own under bench_process; the share counts from 5 s to
# 14 s after the start (the round, or the menu, is up by then). Prints a table
# "program | window | processor % of a core | peak resident MiB", then start-up times.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
rounds=${2:-3}
process=$build/bench/report/bench_process
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ln -s "$build/Media.sbx" "$work/Media.sbx"
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
on_display=(xvfb-run -a -s "-screen 0 1280x1024x24")

# The round: both penguins walk the four ways and spray until the window closes at 15 s.
{
  keys=(Right Up Left Down)
  for ((at = 1500, i = 0; at < 14500; at += 700, i++)); do
    echo "$at key ${keys[i % 4]} down"
    echo "$((at + 650)) key ${keys[i % 4]} up"
    if ((i % 2 == 0)); then echo "$((at + 300)) key Space down"; echo "$((at + 380)) key Space up"; fi
  done
  echo "15000 close"
} >"$work/round.script"
# The main menu: Enter leaves the title's key wait, the second its last picture; the menu then
# stays up until 15 s.
printf '2500 key Enter down\n2600 key Enter up\n3500 key Enter down\n3600 key Enter up\n15000 close\n' \
  >"$work/menu.script"

# command NAME SCALE: the command line of one program.
command_of() {
  local scale=$2
  case $1 in
    round-cpu) echo "$build/tundrel_stage --dir $work --seed 7 --round 1 --scale $scale --script $work/round.script" ;;
    round-gl) echo "$build/tundrel_stage --dir $work --seed 7 --round 1 --scale $scale --renderer gl --script $work/round.script" ;;
    menu-cpu) echo "$build/tundrel --dir $work --seed 7 --scale $scale --script $work/menu.script" ;;
    menu-gl) echo "$build/tundrel --dir $work --seed 7 --scale $scale --renderer gl --script $work/menu.script" ;;
    peer-gl) echo "$build/bench/peer/bench_peer --driver opengl --scale $scale --seconds 15" ;;
    peer-cpu) echo "$build/bench/peer/bench_peer --driver software --scale $scale --seconds 15" ;;
  esac
}
programs=(round-cpu peer-gl round-gl peer-cpu menu-cpu menu-gl)
declare -A shares peaks
for scale in 1 2; do
  for ((r = 1; r <= rounds; r++)); do
    for program in "${programs[@]}"; do
      # shellcheck disable=SC2046
      "${on_display[@]}" "$process" --cpu-window 5:14 --timeout 40 --log "$work/log.txt" \
        -- $(command_of "$program" "$scale") >"$work/out.txt" 2>&1 || true
      share=$(sed -n 's/^processor share .*, \([0-9.]*\)% of a core/\1/p' "$work/out.txt")
      peak=$(sed -n 's/^peak resident memory: .*(\([0-9.]*\) MiB)/\1/p' "$work/out.txt")
      shares[$program.$scale]+="${share:-nan} "
      peaks[$program.$scale]+="${peak:-nan} "
    done
  done
done
median() { tr ' ' '\n' <<<"$1" | grep -v '^$' | sort -g | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
echo "program | window | processor % of a core (median; runs) | peak resident MiB (median)"
for scale in 1 2; do
  size="$((640 * scale))x$((480 * scale))"
  for program in round-cpu round-gl menu-cpu menu-gl peer-gl peer-cpu; do
    echo "$program | $size | $(median "${shares[$program.$scale]}") (${shares[$program.$scale]% }) | $(median "${peaks[$program.$scale]}")"
  done
  gl=$(median "${shares[peer-gl.$scale]}")
  cpu=$(median "${shares[round-cpu.$scale]}")
  awk -v c="$cpu" -v g="$gl" -v s="$size" \
    'BEGIN { if (g > 0) printf "round-cpu / peer-gl at %s: %.2f\n", s, c / g }'
done

# Start to the first title frame, three tries each, interleaved; the best of each.
declare -A starts
for try in 1 2 3; do
  for renderer in cpu gl; do
    extra=()
    [ "$renderer" = gl ] && extra=(--renderer gl)
    "${on_display[@]}" "$process" --timeout 30 --log "$work/log.txt" \
      --first-line "$work/start.json" '"screen":"title"' \
      -- "$build/tundrel" --dir "$work" --seed 7 --scale 1 --max-frames 30 "${extra[@]}" \
      --trace "$work/start.json" >"$work/out.txt" 2>&1 || true
    starts[$renderer]+="$(sed -n 's/.*first line containing "screen":"title": *\([0-9.]*\).*/\1/p' \
      "$work/out.txt") "
  done
done
for renderer in cpu gl; do
  best=$(tr ' ' '\n' <<<"${starts[$renderer]}" | grep -v '^$' | sort -g | head -1)
  echo "start to first title frame, $renderer: best ${best:-?} s (tries: ${starts[$renderer]% })"
done
