#!/usr/bin/env bash
# Long run of the real window at the fastest pace (pointer on the picture's top-left pixel)
# with random typing and clicks, sampling resident memory. Fails when the viewer ends,
# writes to stderr, grows after the warm-up, or does not quit on ESC at the end.
#
# usage: tests/robustness/soak.sh [--seconds N] [--warmup S] [--interval S] [--tolerance-kib K]
#                        [--binary PATH] [--log FILE]
# Defaults: one hour; a warm-up of one minute, or a quarter of a run shorter than four
# minutes; build/release/src/kelto, built (and its packages installed) when missing. Runs on
# a private Xvfb display of its own, with the window manager KELTO_WM (openbox by default).
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
seconds=3600 warmup='' interval='' tolerance=1024 binary='' log=''
while (($#)); do
    case $1 in
        --seconds) seconds=$2 ;;
        --warmup) warmup=$2 ;;
        --interval) interval=$2 ;;
        --tolerance-kib) tolerance=$2 ;;
        --binary) binary=$2 ;;
        --log) log=$2 ;;
        *) echo "soak.sh: unknown option $1" >&2; exit 2 ;;
    esac
    shift 2
done
: "${warmup:=$((seconds >= 240 ? 60 : seconds / 4))}"
((warmup < seconds)) || { echo "soak.sh: the warm-up must be shorter than the run" >&2; exit 2; }
: "${interval:=$((seconds >= 600 ? 10 : 2))}"
if [[ -z $binary ]]; then
    bash "$root/scripts/install-deps.sh" --with-tests || exit 2
    binary=$root/build/release/src/kelto
    if [[ ! -x $binary ]]; then
        echo "soak.sh: building kelto in build/release"
        (cd "$root" && cmake --preset release -DKELTO_BUILD_TESTS=OFF >/dev/null &&
            cmake --build build/release -j2 --target kelto) || exit 2
    fi
fi
[[ -x $binary ]] || { echo "soak.sh: no viewer at $binary" >&2; exit 2; }
export KELTO_BIN
KELTO_BIN=$(realpath "$binary")

# shellcheck source-path=SCRIPTDIR source=../tests/support/xsession.sh
. "$root/tests/support/xsession.sh"
set +e  # the loop below checks what it needs itself
start_display
start_kelto
read -r ox oy < <(inner_origin)
# Row 0 of the inner area: Y is 0, so the pace is 0 wherever the pointer is along it.
xdotool mousemove "$ox" "$oy"

typed='+-/*.,+-/*.,abcxyz=7 09!@#()[]{}<>?éß€'
random_text() {
    local n=$((RANDOM % 12 + 1)) text='' i
    for ((i = 0; i < n; ++i)); do text+=${typed:RANDOM % ${#typed}:1}; done
    printf '%s' "$text"
}

# Mouse steering on, a few steering moves, off again, then back to the top-left so the
# pace is the fastest again. Clicks stay 0.45 s apart, beyond the double-click interval.
steer_once() {
    xdotool mousemove $((ox + RANDOM % 4)) "$oy" click 1
    local i
    for ((i = 0; i < 5; ++i)); do xdotool mousemove $((ox + 100)) $((oy + RANDOM % 300)); done
    sleep 0.45
    xdotool mousemove $((ox + RANDOM % 4)) "$oy" click 1 mousemove "$ox" "$oy"
    sleep 0.45
}

start=$(now_ms)
next_sample=0
samples=() times=()
typed_count=0 steer_count=0
[[ -n $log ]] && echo "seconds,rss_kib" >"$log"
while :; do
    t=$((($(now_ms) - start) / 1000))
    kelto_alive || fail "viewer ended after $t s"
    if ((t >= next_sample)); then
        rss=$(rss_kib)
        samples+=("$rss") times+=("$t")
        echo "t=${t}s rss=${rss} KiB"
        [[ -n $log ]] && echo "$t,$rss" >>"$log"
        next_sample=$((next_sample + interval))
    fi
    ((t >= seconds)) && break
    text=$(random_text)
    xdotool type --delay 1 -- "$text"
    typed_count=$((typed_count + ${#text}))
    if ((RANDOM % 12 == 0)); then
        steer_once
        steer_count=$((steer_count + 1))
    fi
done

[[ -s $WORK/kelto.err ]] && fail "the viewer wrote to stderr"
read -r -a stat <"/proc/$KELTO_PID/stat"
cpu=$(((stat[13] + stat[14]) / $(getconf CLK_TCK)))
base='' peak=0
for i in "${!samples[@]}"; do
    ((times[i] < warmup)) && continue
    [[ -z $base ]] && base=${samples[i]}
    ((samples[i] > peak)) && peak=${samples[i]}
done
[[ -n $base ]] || fail "no sample after the warm-up"
growth=$((peak - base))
echo "typed $typed_count characters, $steer_count steering rounds (2 clicks each), viewer CPU ${cpu} s in ${t} s"
echo "rss after warm-up: ${base} KiB, peak ${peak} KiB, last ${samples[-1]} KiB, growth ${growth} KiB"
if [[ -n ${KELTO_SANITIZED:-} ]]; then
    echo "sanitized build: resident-memory check skipped (the leak sanitizer covers leaks)"
else
    ((growth <= tolerance)) || fail "resident memory grew by $growth KiB after the warm-up"
fi

activate_window || fail "the window could not be activated for ESC"
check_esc_quits 60
finish
