#!/usr/bin/env bash
# Seeds faults to see whether the test suite notices them: changes one operator or constant at a
# time in engine/ and game/ (< <= > >= == != && || + - += -=, a constant + 1, a dropped !),
# rebuilds, runs every test but the window tests, and reports per change whether a test failed.
# The places are drawn kind by kind and folder by folder in turn (mutate.pl pick), so a sample
# holds about as many of each kind of change in engine/ as in game/.
#
#   scripts/mutants.sh [COUNT] [SEED]      COUNT changes that compile (default 80), SEED (default 1)
#
# The same SEED over the same engine/ and game/ sources draws the same changes, so two test
# suites can be compared. The changes are made in a copy of the working tree
# (build-mutants/tree/, MUTANTS_DIR names another folder), never in the tree itself; the copy is
# restored after each change, also when the script is interrupted. A change that does not
# compile is skipped and the next place drawn instead; a change whose object code equals the
# original's is marked "same code" (it cannot be noticed). Each test may take MUTANTS_TIMEOUT
# seconds (default 60): a change that makes the program loop fails on that.
# MUTANTS_TESTS_FROM=REV takes everything but engine/ and game/ (the tests, tools, build files)
# from git revision REV, to measure an older suite against today's engine/ and game/.
# MUTANTS_RESUME=1 goes on where an interrupted run with the same seed stopped.
# MUTANTS_RECHECK=1 (with MUTANTS_RESUME=1) also tries again the changes that survived, against
# the suite as it is now: after tests were added (none taken away), the changes noticed before
# are still noticed, so only the survivors need another run.
# MUTANTS_WINDOW=1 runs the window tests too, after the others, one at a time and each given up
# to three tries as scripts/run-ctest.sh does (a sample takes about twice as long).
set -euo pipefail
cd "$(dirname "$0")/.."
repo="$(pwd)"
count="${1:-80}"
seed="${2:-1}"
work="${MUTANTS_DIR:-build-mutants}"
timeout="${MUTANTS_TIMEOUT:-60}"
[[ "$count" =~ ^[0-9]+$ && "$seed" =~ ^[0-9]+$ ]] || {
  echo "usage: scripts/mutants.sh [COUNT] [SEED]" >&2
  exit 2
}

# The GL tests need a display: the whole run shares one virtual display, kept up between tests
# (-noreset: a server that starts over when its last client goes fails the next test at random).
if [ -z "${MUTANTS_DISPLAY_UP:-}" ]; then
  scripts/install-deps.sh
  MUTANTS_DISPLAY_UP=1 exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$0" "$count" "$seed"
fi

mkdir -p "$work"
work="$(cd "$work" && pwd)"
tree="$work/tree"
build="$tree/build"
log="$work/log"
mkdir -p "$tree" "$log"

# Copy the working tree (tracked and new files, not what git ignores), touching only files that
# changed, so that the copy's build redoes only what it must. A copied file gets the time of the
# copy, not its own: an edit made before the copy's last build would otherwise look older than
# the objects built from the earlier text, and never be compiled.
git ls-files -co --exclude-standard | sort >"$work/files"
while IFS= read -r file; do
  [ -f "$file" ] || continue
  if ! cmp -s "$file" "$tree/$file" 2>/dev/null; then
    mkdir -p "$tree/$(dirname "$file")"
    cp "$file" "$tree/$file"
  fi
done <"$work/files"
(cd "$tree" && find . -path ./build -prune -o -type f -print | sed 's|^\./||' | sort) |
  comm -23 - "$work/files" | (cd "$tree" && xargs -r rm -f)
if [ -n "${MUTANTS_TESTS_FROM:-}" ]; then
  (cd "$tree" && find . -mindepth 1 -maxdepth 1 ! -name build ! -name engine ! -name game \
    -exec rm -rf {} +)
  git archive "$MUTANTS_TESTS_FROM" | tar -x -C "$tree" --anchored --exclude=engine --exclude=game
fi
cp scripts/mutate.pl "$work/mutate.pl"

launchers=()
if command -v ccache >/dev/null; then
  launchers=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
# Optimised without debug information: small objects, quick links, and object code that can be
# compared with the original's.
cmake -S "$tree" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE=-O1 \
  -DCMAKE_C_FLAGS_RELEASE=-O1 -DTUNDREL_BENCHMARKS=OFF -DTUNDREL_WERROR=OFF "${launchers[@]}" \
  >"$log/configure.txt"

labels=(-LE window)
[ -n "${MUTANTS_WINDOW:-}" ] && labels=()
run_suite() {
  ctest --test-dir "$build" -LE window -j "$(nproc)" --timeout "$timeout" --stop-on-failure \
    >"$log/ctest.txt" 2>&1 || return 1
  [ -n "${MUTANTS_WINDOW:-}" ] || return 0
  ctest --test-dir "$build" -L window --repeat until-pass:3 --stop-on-failure \
    >>"$log/ctest.txt" 2>&1
}

# Checksums of the object files (those newer than the file given): a change that leaves them all
# equal cannot be noticed.
object_sums() {
  (cd "$build" && find . -name '*.o' ${1:+-newer "$1"} -print0 | xargs -0 -r md5sum) | LC_ALL=C sort
}

echo "mutants: building the unchanged copy in $build"
ninja -C "$build" >"$log/build.txt" 2>&1 || {
  cat "$log/build.txt" >&2
  exit 1
}
# Later builds make only the programs of ours the suite runs (with what they depend on: the
# game, the media), not the shells or browsers some tests start; benchmarks (and window tests,
# unless they run) are left as they are.
mapfile -t programs < <(ctest --test-dir "$build" "${labels[@]}" --show-only=json-v1 |
  perl -0ne 'print "$1\n" while /"command"\s*:\s*\[\s*"([^"]+)"/g' | grep "^$build/" |
  sed "s|^$build/||" | sort -u)
[ ${#programs[@]} -gt 0 ] || programs=(all)
object_sums >"$work/objects.md5"
if ! run_suite; then
  echo "mutants: the suite fails without any change (log: $log/ctest.txt)" >&2
  exit 1
fi

mapfile -t sources < <(cd "$tree" && git -C "$repo" ls-files -co --exclude-standard engine game |
  grep -E '\.(cpp|h)$' | sort)
mapfile -t places < <(cd "$tree" && perl "$work/mutate.pl" pick "$seed" "${sources[@]}")

current=""
restore() {
  if [ -n "$current" ]; then
    cp "$work/original" "$tree/$current"
    current=""
  fi
}
trap restore EXIT
trap 'restore; exit 130' INT TERM

tested=0
noticed=0
same=0
skipped=0
survivors=()
results="$work/results-$seed.txt"
judged="$work/judged-$seed.tsv"  # each judged place and its verdict, for a resumed run
declare -A earlier=()
resumeUntil=-1
if [ -n "${MUTANTS_RESUME:-}" ] && [ -s "$judged" ]; then
  # Split at the last tab by hand: a tab in IFS would run empty fields together (a deletion's
  # empty replacement) and the place would never be found again.
  while IFS= read -r entry; do
    earlier["${entry%$'\t'*}"]="${entry##*$'\t'}"
  done <"$judged"
  for i in "${!places[@]}"; do
    [ -n "${earlier[${places[$i]}]:-}" ] && resumeUntil=$i
  done
else
  : >"$judged"
fi
: >"$results"
note() {  # VERDICT: counts and prints the judged place
  local verdict=$1
  tested=$((tested + 1))
  case "$verdict" in
    noticed*) noticed=$((noticed + 1)) ;;
    *same\ code*) same=$((same + 1)); survivors+=("$what (same code)") ;;
    *) survivors+=("$what") ;;
  esac
  printf '%3d/%d %-60s %s\n' "$tested" "$count" "$what" "$verdict" | tee -a "$results"
}
for i in "${!places[@]}"; do
  place=${places[$i]}
  [ "$tested" -lt "$count" ] || break
  IFS=$'\t' read -r file line column from to <<<"$place"
  what="$file:$line:$column '$from' -> '${to:-(nothing)}'"
  if [ "$i" -le "$resumeUntil" ] &&
    ! [[ -n "${MUTANTS_RECHECK:-}" && "${earlier[$place]:-}" == SURVIVED ]]; then
    if [ -n "${earlier[$place]:-}" ]; then note "${earlier[$place]}"; else skipped=$((skipped + 1)); fi
    continue
  fi
  cp "$tree/$file" "$work/original"
  current="$file"
  perl "$work/mutate.pl" apply "$tree/$file" "$line" "$column" "$from" "$to"
  touch "$work/stamp"
  built=true
  ninja -C "$build" "${programs[@]}" >"$log/build.txt" 2>&1 || built=false
  # A build that fails without a compiler's or linker's error failed in a step that runs the
  # changed code (packing the media, listing a test program's tests): that is noticed.
  if ! $built && grep -qE 'error:|undefined reference' "$log/build.txt"; then
    skipped=$((skipped + 1))
    restore
    if [ "$skipped" -gt $((count * 3 + 20)) ]; then
      echo "mutants: $skipped changes did not build; the last build log: $log/build.txt" >&2
      exit 1
    fi
    continue
  fi
  object_sums "$work/stamp" >"$work/changed.md5"
  if ! $built; then
    verdict="noticed by the build"
  elif [ ! -s "$work/changed.md5" ] ||
    [ -z "$(comm -23 "$work/changed.md5" "$work/objects.md5")" ]; then
    verdict="survived (same code)"
  elif run_suite; then
    verdict="SURVIVED"
  else
    failed="$(sed -n 's/^[[:space:]]*[0-9]* - \(.*\) (.*/\1/p' "$log/ctest.txt" | head -1)"
    verdict="noticed${failed:+ by $failed}"
  fi
  printf '%s\t%s\n' "$place" "$verdict" >>"$judged"
  note "$verdict"
  restore
  # The next build puts the original objects back (from ccache when it is there).
done

echo
echo "survivors (${#survivors[@]}):"
for s in "${survivors[@]}"; do echo "  $s"; done
share=0
[ "$tested" -gt 0 ] && share=$((noticed * 100 / tested))
echo "noticed $noticed of $tested changes ($share %); $same left the object code as it was;" \
  "$skipped did not compile (seed $seed)" | tee -a "$results"
