# Sourced before running a sanitized build: the first finding ends the run
# with a failure. Leaks that a system library keeps on purpose are left out,
# by that library's name only.
# No strict string checks: libxkbcommon hands strndup a keymap name that is not
# NUL-terminated, which they take for an overflow in every program on X.
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=0:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/lsan-suppressions.txt"
