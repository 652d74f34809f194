#!/usr/bin/env bash
# Runs the real window under valgrind's memcheck for a few seconds of typing, pointer
# moves and clicks, then quits it with ESC. Fails on any memcheck error or definite leak
# not covered by tests/valgrind.supp (which holds only the toolkit's own one-time
# allocations).
#
# usage: scripts/valgrind.sh [--seconds N] [--display :N] [--binary PATH]
# Defaults: 5 seconds, display :89, a RelWithDebInfo build in build/valgrind (made when
# missing). Needs valgrind, Xvfb, openbox and xdotool.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=5 display=:89 binary=
while (($#)); do
    case $1 in
        --seconds) seconds=$2 ;;
        --display) display=$2 ;;
        --binary) binary=$2 ;;
        *) echo "valgrind.sh: unknown option $1" >&2; exit 2 ;;
    esac
    shift 2
done
if [[ -z $binary ]]; then
    binary=$root/build/valgrind/src/kelto
    if [[ ! -x $binary ]]; then
        cmake -S "$root" -B "$root/build/valgrind" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DKELTO_BUILD_TESTS=OFF >/dev/null || exit 2
        cmake --build "$root/build/valgrind" -j 2 --target kelto >/dev/null || exit 2
    fi
fi
binary=$(realpath "$binary")

source "$root/tests/robustness/xsession.sh"
report=$work_dir/memcheck.%p.txt
start_session "$display"
viewer_start_s=60
start_viewer valgrind --tool=memcheck --error-exitcode=99 --num-callers=40 \
    --leak-check=full --show-leak-kinds=definite --errors-for-leak-kinds=definite \
    --suppressions="$root/tests/valgrind.supp" --gen-suppressions=all \
    --log-file="$report" "$binary"
main_pid=$viewer_pid
read -r ox oy < <(inner_origin)

end=$(($(now_ms) + seconds * 1000))
while (($(now_ms) < end)); do
    alive || break
    xdotool mousemove $((ox + 50)) $((oy + 80))
    xdotool type --delay 20 -- '+x-/.*,=é'
    xdotool click 1
    sleep 0.6
    xdotool mousemove $((ox + 60)) $((oy + 40)) mousemove $((ox + 60)) $((oy + 90))
    xdotool click 1
    sleep 0.6
    xdotool mousemove "$ox" "$oy"
done
alive || { cat "$work_dir"/memcheck.*.txt >&2; fail "the viewer ended under valgrind before ESC"; }
xdotool windowactivate --sync "$window_id" && xdotool key Escape
wait_viewer_end 30000
# One report per process: the toolkit forks helpers (a D-Bus launcher) that memcheck
# follows until they exec.
report=$work_dir/memcheck.$main_pid.txt
cp "$work_dir"/memcheck.*.txt "${KELTO_VALGRIND_KEEP:-$work_dir}/" 2>/dev/null
grep -E 'ERROR SUMMARY|definitely lost|suppressed:' "$report"
echo "exit status under valgrind: $status"
if [[ $status != 0 ]]; then
    cat "$report" >&2
    fail "memcheck reported errors (status $status)"
fi
echo PASS
