#!/usr/bin/env bash
# Long run of the real window at the fastest pace (pointer on the picture's top-left pixel)
# with random typing and clicks, sampling resident memory. Fails when the viewer ends,
# writes to stderr, grows after the warm-up, or does not quit on ESC at the end.
#
# usage: scripts/soak.sh [--seconds N] [--warmup S] [--interval S] [--tolerance-kib K]
#                        [--display :N] [--binary PATH] [--log FILE]
# Defaults: one hour, one minute of warm-up, display :88, build/release/src/kelto.
# Needs Xvfb, openbox and xdotool.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=3600 warmup=60 interval= tolerance=1024 display=:88
binary=$root/build/release/src/kelto log=
while (($#)); do
    case $1 in
        --seconds) seconds=$2 ;;
        --warmup) warmup=$2 ;;
        --interval) interval=$2 ;;
        --tolerance-kib) tolerance=$2 ;;
        --display) display=$2 ;;
        --binary) binary=$2 ;;
        --log) log=$2 ;;
        *) echo "soak.sh: unknown option $1" >&2; exit 2 ;;
    esac
    shift 2
done
[[ -x $binary ]] || { echo "soak.sh: no viewer at $binary (build it first)" >&2; exit 2; }
((warmup < seconds)) || { echo "soak.sh: the warm-up must be shorter than the run" >&2; exit 2; }
: "${interval:=$((seconds >= 600 ? 10 : 2))}"
binary=$(realpath "$binary")

source "$root/tests/robustness/xsession.sh"
start_session "$display"
start_viewer "$binary"
read -r ox oy < <(inner_origin)
# Row 0 of the inner area: Y is 0, so the pace is 0 wherever the pointer is along it.
xdotool mousemove "$ox" "$oy"

typed='+-/*.,+-/*.,abcxyz=7 09!@#()[]{}<>?éß€'
random_text() {
    local n=$((RANDOM % 12 + 1)) text= i
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
    alive || fail "viewer ended after $t s"
    if ((t >= next_sample)); then
        rss=$(rss_kib "$viewer_pid")
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

[[ -s $viewer_err ]] && fail "the viewer wrote to stderr"
read -r -a stat <"/proc/$viewer_pid/stat"
cpu=$(((stat[13] + stat[14]) / $(getconf CLK_TCK)))
base= peak=0
for i in "${!samples[@]}"; do
    ((times[i] < warmup)) && continue
    [[ -z $base ]] && base=${samples[i]}
    ((samples[i] > peak)) && peak=${samples[i]}
done
[[ -n $base ]] || fail "no sample after the warm-up"
growth=$((peak - base))
echo "typed $typed_count characters, $steer_count steering rounds (2 clicks each), viewer CPU ${cpu} s in ${t} s"
echo "rss after warm-up: ${base} KiB, peak ${peak} KiB, last ${samples[-1]} KiB, growth ${growth} KiB"
! memory_checked || ((growth <= tolerance)) || fail "resident memory grew by $growth KiB after the warm-up"

xdotool windowactivate --sync "$window_id" && xdotool key Escape
wait_viewer_end 2000
echo "ESC at the end: exit status $status after $elapsed ms"
[[ $status == 0 ]] || fail "expected exit status 0 after ESC, got $status"
echo PASS
