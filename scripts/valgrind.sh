#!/usr/bin/env bash
# Runs the real window under valgrind's memcheck for a few seconds of typing, pointer
# moves and clicks, then quits it with ESC. Fails on any memcheck error or definite leak
# not covered by tests/valgrind.supp (which holds only the toolkit's own one-time
# allocations).
#
# usage: scripts/valgrind.sh [--seconds N] [--binary PATH]
# Defaults: 5 seconds, a RelWithDebInfo build in build/valgrind (made when missing). Installs
# valgrind and the X test tools when they are missing; runs on a private Xvfb display.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=5 binary=
while (($#)); do
    case $1 in
        --seconds) seconds=$2 ;;
        --binary) binary=$2 ;;
        *) echo "valgrind.sh: unknown option $1" >&2; exit 2 ;;
    esac
    shift 2
done
bash "$root/scripts/install-deps.sh" --with-tests --with-valgrind || exit 2
if [[ -z $binary ]]; then
    binary=$root/build/valgrind/src/kelto
    if [[ ! -x $binary ]]; then
        echo "valgrind.sh: building kelto with debug information in build/valgrind"
        cmake -S "$root" -B "$root/build/valgrind" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DKELTO_BUILD_TESTS=OFF >/dev/null || exit 2
        cmake --build "$root/build/valgrind" -j 2 --target kelto || exit 2
    fi
fi
binary=$(realpath "$binary")

# shellcheck source-path=SCRIPTDIR source=../tests/support/xsession.sh
. "$root/tests/support/xsession.sh"
set +e
start_display
echo "valgrind.sh: starting kelto under memcheck (slow), then ${seconds} s of keys and clicks"
KELTO_START_SECONDS=120
start_program valgrind --tool=memcheck --error-exitcode=99 --num-callers=40 \
    --leak-check=full --show-leak-kinds=definite --errors-for-leak-kinds=definite \
    --suppressions="$root/tests/valgrind.supp" --gen-suppressions=all \
    --log-file="$WORK/memcheck.%p.txt" "$binary"
read -r ox oy < <(inner_origin)

end=$(($(now_ms) + seconds * 1000))
while (($(now_ms) < end)); do
    kelto_alive || break
    xdotool mousemove $((ox + 50)) $((oy + 80))
    xdotool type --delay 20 -- '+x-/.*,=é'
    xdotool click 1
    sleep 0.6
    xdotool mousemove $((ox + 60)) $((oy + 40)) mousemove $((ox + 60)) $((oy + 90))
    xdotool click 1
    sleep 0.6
    xdotool mousemove "$ox" "$oy"
done
main_pid=$KELTO_PID
kelto_alive || { cat "$WORK"/memcheck.*.txt >&2; fail "the viewer ended under valgrind before ESC"; }
activate_window || fail "the window could not be activated for ESC"
keys Escape
status=0
await_exit 60 || status=$?
# One report per process: the toolkit forks helpers (a D-Bus launcher) that memcheck
# follows until they exec.
report=$WORK/memcheck.$main_pid.txt
[[ -z ${KELTO_VALGRIND_KEEP:-} ]] || cp "$WORK"/memcheck.*.txt "$KELTO_VALGRIND_KEEP/"
grep -E 'ERROR SUMMARY|definitely lost|suppressed:' "$report"
echo "exit status under valgrind: $status"
if [[ $status != 0 ]]; then
    cat "$report" >&2
    fail "memcheck reported errors (status $status)"
fi
echo PASS
