# Sourced by scripts/sanitize.sh and scripts/fuzz.sh: how the sanitizers report. Source it
# too before running a program from build-asan/ by hand.
repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# Leaks count; a stack frame that is used after its function returned counts too.
export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"
# Leaks inside the system's graphics and audio libraries are theirs, not ours (lsan.supp).
export LSAN_OPTIONS="suppressions=${repo_root}/scripts/lsan.supp:print_suppressions=0:${LSAN_OPTIONS:-}"
unset repo_root
