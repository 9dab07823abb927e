#!/usr/bin/env bash
# A whole game played live in a real window through the X server, then its kept replay played
# back: headless and in a window, each traced and compared frame by frame with the live run
# (all but the frames' real times, "ms"), and three moments' screenshots compared byte for byte.
#
# The player is xdotool, driven by the live trace as a player watches the screen: each key goes
# down or up when the frame last traced shows the penguins where the next move starts. The game:
# the title, the menu, the penguin choice; round 1 walked to the heart cage (the penguins meet);
# round 2, both penguins walked into the webs four times (the last of the lives lost: game over
# with a new high score); the menu; "exit game" through its question.
#
# Runs under the X server of DISPLAY (xvfb-run -a -s "-screen 0 1920x1080x24"); needs xdotool
# and jq. Prints the figures; keeps the runs' files in OUT (default: a new temporary folder).
#   scripts/live-replay.sh BUILD_DIR [OUT]
set -euo pipefail
build=$(cd "$1" && pwd)
out=${2:-$(mktemp -d)}
mkdir -p "$out"
out=$(cd "$out" && pwd)
for tool in xdotool jq; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 77; }
done
[ -n "${DISPLAY:-}" ] || { echo "no display (run it under xvfb-run)" >&2; exit 77; }
seed=4
shots=(300 1200 2400)

live="$out/live"
rm -rf "$live" && mkdir -p "$live"
ln -s "$build/Media.sbx" "$live/Media.sbx"
shot_args=()
for frame in "${shots[@]}"; do shot_args+=(--screenshot "$frame:$out/live-$frame.png"); done
# SDL's silent device plays the sounds, so that they are traced as a headless run traces them.
SDL_AUDIODRIVER=dummy "$build/tundrel" --dir "$live" --trace "$live/trace.json" --seed "$seed" \
  --windowed --scale 1 "${shot_args[@]}" 2>"$live/err" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT
window=$(timeout 20 xdotool search --sync --name '^Tundrel$' | head -1)
xdotool windowfocus --sync "$window" 2>/dev/null || true

# The trace as it is written, read by one reader (a process a look would lag behind the game
# on a busy machine): the last whole line, its screen, round, lives and the penguins' places
# in the maze (X1 Y1 X2 Y2: pixels from the maze's corner, a cell is 32).
exec {trace_fd}< <(exec tail -n +1 -F "$live/trace.json" 2>/dev/null)
reader=$!
trap 'kill "$pid" "$reader" 2>/dev/null || true' EXIT
line='' screen='' round=0 now_lives=0 X1=0 Y1=0 X2=0 Y2=0
read_trace() {
  local next got=0
  while IFS= read -r -t 0.01 -u "$trace_fd" next; do
    # (a piece of a line that came late is passed over)
    [[ $next == '{"frame":'*'}' ]] || continue
    line=$next
    got=1
    read -r -t 0 -u "$trace_fd" || break
  done
  ((got)) || return 0
  [[ $line =~ \"screen\":\"([a-z-]+)\" ]] && screen=${BASH_REMATCH[1]}
  [[ $line =~ \"round\":(-?[0-9]+),\"lives\":(-?[0-9]+) ]] &&
    round=${BASH_REMATCH[1]} now_lives=${BASH_REMATCH[2]}
  if [[ $line =~ \"p1\":\{\"x\":(-?[0-9]+),\"y\":(-?[0-9]+).*\"p2\":\{\"x\":(-?[0-9]+),\"y\":(-?[0-9]+) ]]; then
    X1=$((BASH_REMATCH[1] - 48)) Y1=$((BASH_REMATCH[2] - 48))
    X2=$((BASH_REMATCH[3] - 48)) Y2=$((BASH_REMATCH[4] - 48))
  fi
}
# near PIXELS CELL: within 3 pixels of that cell.
near() { (( ($1 - 32 * $2) * ($1 - 32 * $2) <= 9 )); }
# Waits until the condition (shell code) holds for the last frame traced; returns 1 as soon as
# the frame shows fewer lives than $lives.
lives=-9
wait_for() {
  local condition=$1 limit=${2:-60} start=$SECONDS
  while :; do
    read_trace
    if [ -n "$line" ]; then
      ((now_lives < lives)) && return 1
      eval "$condition" && return 0
    fi
    if ((SECONDS - start > limit)); then
      echo "FAIL: waited ${limit}s for $condition; last frame: $line" >&2
      exit 1
    fi
    kill -0 "$pid" 2>/dev/null || { echo "FAIL: the game ended early" >&2; exit 1; }
  done
}
press() { xdotool key "$1"; }
down() { xdotool keydown "$1"; }
up() { xdotool keyup "$1"; }

# The title, the menu's "start game", the penguin choice.
wait_for '[ $screen = title ]' 20 && sleep 1.5 && press space
wait_for '[ $screen = menu ]' && sleep 0.5 && press Return
wait_for '[ $screen = select ]' && sleep 0.5 && press Return
wait_for '[ $screen = round ] && ((round == 1))'

# Round 1. Keys move both penguins, left and right mirrored for the second. Each move is held
# until a wall stops it; a second key held with it takes the first opening it finds. A life
# lost on the way (a spider) starts the walk again from the start.
walk_round_1() {
  down Right                                   # to the bottom row's ends
  wait_for 'near $X1 15 && ((X2 < 35))' || return 1
  up Right
  down Up                                      # up to the row under the first walls
  wait_for 'near $Y1 8 && near $Y2 8' || return 1
  up Up
  down Left                                    # along that row, and up at an opening
  wait_for '((X1 < 403))' || return 1            # once the first has passed column 13's
  down Up                                      # (a web lies above it)
  wait_for 'near $X1 9 && near $Y1 4 && near $X2 7 && near $Y2 3' || return 1
  up Left
  up Up
  down Right                                   # the first along row 4, up column 13
  wait_for '((X1 > 358))' || return 1
  down Up
  wait_for 'near $X1 15 && near $Y1 1' || return 1
  up Up
  down Down                                    # the second down to row 4, along it, and up
  wait_for 'near $Y2 4 && ((X2 < 218))' || return 1 # column 5 (a web lies at column 3)
  up Down
  down Up
  wait_for '((X2 < 35)) && near $Y2 1' || return 1
  up Up
  up Right
  down Left                                    # both along the top row to the cage
  wait_for '[ $screen != round ]' || return 1
  up Left
}
for attempt in 1 2 3; do
  lives=$now_lives
  sleep 0.3
  if walk_round_1; then break; fi
  for key in Left Right Up Down; do up "$key"; done
  echo "round 1: a life lost on the way (attempt $attempt); walking again"
  lives=0
  wait_for '[ $screen = round ] && ((round == 1))' 30
done
lives=-9
wait_for '[ $screen = round ] && ((round == 2))' 30
# Round 2: both penguins walked into webs (the first up into the web of column 13, the second
# along row 8 into the one of column 6) until the game is over; a spider or the clock may come
# first.
while :; do
  lives=-9
  wait_for '[ $screen = round ] || [ $screen = game-over ]' 30
  [ "$screen" = game-over ] && break
  lives=$now_lives
  echo "round 2: $lives lives"
  sleep 0.3
  down Right
  wait_for '((X1 > 358))' || { up Right; continue; }
  down Up
  wait_for 'false' 70 || true
  up Up
  up Right
done
wait_for '[ $screen = menu ]' 30
sleep 1
press Escape
wait_for '[ $screen = confirm-exit ]' 10
sleep 0.3
press y
timeout 20 tail --pid="$pid" -f /dev/null || true
kill "$reader" 2>/dev/null || true
trap - EXIT

status() { jq -r '[.screen, .round, .lives, .score, .highScore] | @tsv' "$1"; }
echo "live game: $(wc -l <"$live/trace.json") frames; screens (screen round lives score high):"
status "$live/trace.json" | uniq | sed 's/^/  /'
ls -l "$live/replays"

# The kept replays played back: headless, and in a window with the same screenshots.
strip() { sed 's/"ms":[0-9.]*,//' "$1"; }
failed=0
for name in last best; do
  replayed="$out/$name-headless"
  rm -rf "$replayed" && mkdir -p "$replayed"
  ln -s "$build/Media.sbx" "$replayed/Media.sbx"
  "$build/tundrel" --headless --dir "$replayed" --replay "$live/replays/$name.tundrel-replay" \
    --trace "$replayed/trace.json"
  if cmp <(strip "$live/trace.json") <(strip "$replayed/trace.json"); then
    echo "$name.tundrel-replay headless: the same $(wc -l <"$replayed/trace.json") frames"
  else
    echo "FAIL: $name.tundrel-replay headless traced another game"
    failed=1
  fi
done
window_run="$out/window"
rm -rf "$window_run" && mkdir -p "$window_run"
ln -s "$build/Media.sbx" "$window_run/Media.sbx"
shot_args=()
for frame in "${shots[@]}"; do shot_args+=(--screenshot "$frame:$out/replayed-$frame.png"); done
SDL_AUDIODRIVER=dummy "$build/tundrel" --dir "$window_run" --windowed --scale 1 \
  --replay "$live/replays/last.tundrel-replay" --trace "$window_run/trace.json" "${shot_args[@]}"
if cmp <(strip "$live/trace.json") <(strip "$window_run/trace.json"); then
  echo "last.tundrel-replay in a window: the same $(wc -l <"$window_run/trace.json") frames"
else
  echo "FAIL: last.tundrel-replay in a window traced another game"
  failed=1
fi
for frame in "${shots[@]}"; do
  if cmp -s "$out/live-$frame.png" "$out/replayed-$frame.png"; then
    echo "frame $frame ($(jq -r "select(.frame == $frame) | .screen" "$live/trace.json")):" \
      "live and replayed screenshots byte-identical"
  else
    echo "FAIL: frame $frame: the screenshots differ"
    failed=1
  fi
done
echo "replay sizes: $(stat -c '%n %s bytes' "$live"/replays/*.tundrel-replay | sed "s|$live/replays/||" | paste -sd ';' -)"
echo "files in $out"
exit "$failed"
