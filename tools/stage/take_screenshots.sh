#!/usr/bin/env bash
# Screenshots of the rounds and of every round-end and loss screen, drawn for real (OpenGL)
# under Xvfb, for looking at: a round of each backdrop, a bonus round, a round under the
# scanline overlay, the celebration, the bonus tally, "no bonus!", out of time, the quit
# screen, the freeze, the nets, the spider and flame catches, game over. Takes about a minute
# and a half.
#
#   tools/stage/take_screenshots.sh [build-dir] [out-dir] [name...]
#
# With names (backdrop1 ... outoftime, as below), only those are taken. STAGE_RENDERER=cpu, gl
# or both picks the renderer (both: each picture also drawn on the processor, FILE-cpu.png).
# STAGE_PRELOAD is given to the stage tool alone as LD_PRELOAD (the sanitizer build's tests).
set -euo pipefail
build=$(realpath "${1:-build}")
out=$(realpath -m "${2:-$build/screenshots}")
only=" ${*:3} "
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ln -s "$build/Media.sbx" "$work/Media.sbx"

# stage NAME SCRIPT-TEXT MAX-FRAMES [stage options] -- FRAME:FILE ...
stage() {
  local name=$1 script=$2 frames=$3
  shift 3
  if [[ "$only" != "  " && "$only" != *" $name "* ]]; then return; fi
  local options=(${STAGE_RENDERER:+--renderer "$STAGE_RENDERER"}) shots=()
  while [[ $# -gt 0 && $1 != -- ]]; do options+=("$1"); shift; done
  shift
  for shot in "$@"; do shots+=(--screenshot "${shot%%:*}:$out/${shot#*:}"); done
  printf '%b' "$script" > "$work/$name.script"
  xvfb-run -a -s "-screen 0 1280x1024x24" env ${STAGE_PRELOAD:+LD_PRELOAD="$STAGE_PRELOAD"} \
    "$build/tundrel_stage" --dir "$work" --seed 7 \
    --script "$work/$name.script" --max-frames "$frames" "${options[@]}" "${shots[@]}" \
    2>/dev/null
  echo "$name done"
}

# Script times are the engine clock's: a real run reaches its first round frame only after
# about a second of loading, and then draws on a frame grid that a slow renderer may miss, so
# keys are held long rather than tapped.
left='10 key Left down\n9000 key Left up\n'
stage backdrop1 '' 61 --round 1 -- 60:round01_back1.png
stage backdrop2 '' 61 --round 5 -- 60:round05_back2.png
stage backdrop3 '' 61 --round 10 -- 60:round10_back3.png
stage backdrop4 '' 61 --round 15 -- 60:round15_back4.png
stage backdrop5 '' 61 --round 20 -- 60:round20_back5.png
stage mixed '' 61 --round 41 -- 60:round41_mixed.png
stage bonus '' 61 --round 3 -- 60:round03_bonus.png
stage scanlines '' 61 --round 1 --scanlines -- 60:round01_scanlines.png
stage power '' 100 --round 12 --power --nella -- 99:round12_nella_power.png
stage celebration "$left" 300 --round 1 --place 323,80,285,80 \
  -- 60:celebration_early.png 200:celebration_late.png 300:title_card.png
stage bonuscard "$left" 340 --round 2 --place 323,80,285,80 -- 340:bonus_round_card.png
stage spray '10 key Right down\n1400 key Right up\n1500 key Space down\n9000 key Space up\n' 120 \
  --round 1 -- 120:spraying.png
stage tally "$left" 440 --round 3 --place 323,80,285,80 -- 330:bonus_tally.png 440:bonus_title.png
stage nets '' 300 --round 1 --lives 0 --place 464,240,144,176 \
  -- 60:freeze_nets.png 200:nets.png 300:game_over.png
stage spider '' 200 --round 1 --place 464,176,144,368 -- 200:caught_spider.png
# A flame reaches the penguin at frame 111: the round freezes for 120 frames, then the catch
# screen shows for 150.
stage flame '' 330 --round 14 --place 208,144,144,368 -- 170:freeze_flame.png 300:caught_flame.png
# The confirmation stays up from 1.5 s to 6 s of the engine clock, long enough that the
# screenshot lands on it however long loading took; "yes" then brings the quit screen for 280
# frames, which hold frame 400 even when a loaded machine drops a third of the frames.
stage quit '1500 key Escape down\n1550 key Escape up\n6000 key Right down\n6100 key Right up\n' \
  420 --round 2 -- 150:confirm_quit.png 400:quit_screen.png
# 150 frames on the clock: it runs out at frame 156, and the no-bonus and out-of-time screens
# show for 240 frames.
stage nobonus '' 300 --round 3 --timer 150 -- 300:no_bonus.png
stage outoftime '' 300 --round 1 --lives 1 --timer 150 -- 300:out_of_time.png
echo "screenshots in $out"
