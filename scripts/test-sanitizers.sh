#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs the whole
# test suite: the whole suite under Python 2.7 and the module's scenario tests under one Python 3
# (PYTHON3, default pyenv's newest 3.13; skipped with a note when there is none). The C++
# programs carry the runtimes themselves; the interpreters are not instrumented, so the ASan
# runtime is preloaded into them and into every process those tests start. Leak reports
# of the interpreter's own exit-time leftovers are suppressed by tests/sanitizers/lsan.supp;
# anything else fails the run. The two tests that run compilers (which leave their memory to
# the exit and would fail under the preloaded runtime) run afterwards without it: no sanitized
# code runs in them.
#
# usage: scripts/test-sanitizers.sh [build-dir]     (default: build-sanitize in the repository)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/common.sh"
build=${1:-$root/build-sanitize}
python3=${PYTHON3:-$(pyenv_interpreter 3.13)}
jobs=${JOBS:-2}
if [[ -z "$python3" ]]; then
  echo "test-sanitizers: pyenv has no Python 3.13: Python 3 scenario tests skipped"
fi

(cd "$root" && cmake --preset sanitize -B "$build" -DQUILLET_PYTHON="$(main_python)" \
                     -DQUILLET_EXTRA_PYTHONS="$python3" >/dev/null)
cmake --build "$build" -j "$jobs" -- --no-print-directory >/dev/null

runtime=$(readlink -f "$(g++ -print-file-name=libasan.so)")
cxxruntime=$(readlink -f "$(g++ -print-file-name=libstdc++.so)")
for library in "$runtime" "$cxxruntime"; do
    if [ ! -e "$library" ]; then
        echo "test-sanitizers: no runtime library at '$library'" >&2
        exit 1
    fi
done
# libstdc++ is preloaded too: ASan looks up the real __cxa_throw when it starts, and python
# only loads libstdc++ later with the module; without it the first C++ throw (our memory
# exhaustion path) stops the process with an ASan CHECK failure.
export LD_PRELOAD="$runtime $cxxruntime"
# halt_on_error: the first report ends the process, so a test cannot pass over it.
# intercept_tls_get_addr=0: g++ 12's runtime takes a dynamic TLS block that happens to start 16
# bytes into a page for an old glibc layout and reads a bogus range from before it; the leak
# check at exit then dies with "Tracer caught signal 11" (seen with the module's thread-local
# line buffers and several threads). Those blocks are heap blocks the thread's DTV points to,
# so the leak check still finds what they reference.
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:strict_string_checks=1:intercept_tls_get_addr=0
export LSAN_OPTIONS=suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
compilers='^(system_install|windows_mingw_compile)$'
cd "$build"
ctest --output-on-failure -j "$jobs" -E "$compilers"
env -u LD_PRELOAD ctest --output-on-failure -j "$jobs" -R "$compilers"
