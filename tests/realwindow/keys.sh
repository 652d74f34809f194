#!/bin/bash
# The keys as a person types them. The window shows a new position only at the end of the pass
# that set it, so a key typed during a run can still be followed by the change that was already
# under way (or, on a busy machine that delivers the key a pass late, two); from a standstill
# nothing moves before the key, so the count starts when the key is sent (from-sent). Every
# case waits for a condition (a change, a rest, N changes) with a generous deadline; none
# counts in a window.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"

start_display
start_kelto

# The start-up run has no run flag, so its first stop request still steps once: at least one
# change forward, and with the key sent at the start of a pass, at most that step and the pass
# under way (a third only when the key reached the program a pass late). A step of 2 in a run
# is a sample missed on a busy machine.
run_cases <<'EOF'
sync min-changes=1 1000 10000      | keys asterisk     | steps ^1(,1){0,2}$ rests 1000 | * in the start-up run: one step more, then still for a second
from-sent min-changes=1 1000 10000 | keys period       | steps ^1$ rests 1000          | . while stopped steps one frame forward and stays
from-sent min-changes=1 1000 10000 | keys asterisk     | steps ^1$                     | * while stopped steps one frame forward
from-sent min-changes=1 1000 10000 | keys slash        | steps ^-1$                    | / while stopped steps one frame back
from-sent min-changes=1 1000 10000 | keys slash        | steps ^-1$ starts-at @last    | a second / steps back again, from where the first left it
from-sent 1500 10000               | keys equal a space Tab | still                    | =, a, space and Tab do nothing
from-sent changes=4 10000 10000    | keys plus         | forward ^2                    | + while stopped: two frames on the first pass, then one per pass
sync 1000 10000                    | keys asterisk     | steps ^(1(,1)?)?$ rests 1000  | * while running after +: stops where the cam is
from-sent changes=4 10000 10000    | keys comma        | forward ^2                    | , while stopped runs forward like +
changes=4 10000 10000              | keys minus        | backward ^(1,){0,2}-2         | - while running forward: two frames back, then one back per pass
sync 1000 10000                    | keys slash        | steps ^(-1(,-1)?)?$ rests 1000 | / while running backward: stops without stepping
from-sent changes=4 10000 10000    | keys minus        | backward ^-2                  | - while stopped: two frames back, then one back per pass
changes=4 10000 10000              | keys KP_Add       | forward ^(-1,){0,2}2          | keypad + overrides the backward run at once
sync 1000 10000                    | keys KP_Multiply  | steps ^(1(,1)?)?$ rests 1000  | keypad * stops the run
from-sent min-changes=1 1000 10000 | keys KP_Divide    | steps ^-1$                    | keypad / while stopped steps back
from-sent changes=4 10000 10000    | keys KP_Subtract  | backward ^-2                  | keypad - runs backward
EOF

# Several requests within one pass: only the last one acts. The pair goes out together at the
# start of a pass, so it lands in one event step: the backward run stops and never turns
# forward. Should a pass still end between the two keys ("," then acts and "/" stops it), the
# pair is sent once more, so only a program that acts on both requests fails every time.
for _ in 1 2 3; do
    seen=$(observe sync 1000 10000 keys --delay 0 comma slash)
    judge "$seen" steps '^(-1,)*2$' >/dev/null || break
    log "the keys fell into two passes; once more"
    keys minus
done
check ", then / within one pass: only / acts and stops the run, then stays for a second" \
    judge "$seen" steps '^(-1(,-1)?)?$' rests 1000

check_esc_quits
finish
