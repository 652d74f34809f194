#!/bin/bash
# The keys as a person types them. The window shows a new position only at the end of the pass
# that set it, so a key typed during a run can still be followed by the change that was already
# under way (or, on a busy machine that delivers the key a pass late, two); from a standstill
# nothing moves before the key, so the count starts when the key is sent. Every check waits for
# a condition (a change, a rest, N changes) with a generous deadline; none counts in a window.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"

start_display
start_kelto

# The start-up run has no run flag, so its first stop request still steps once: at least one
# change forward, and with the key sent at the start of a pass, at most that step and the pass
# under way (a third only when the key reached the program a pass late).
OBSERVE_SYNC=1 OBSERVE_MIN_CHANGES=1 observe 1000 10000 keys asterisk
check "* in the start-up run: one step more, then still" steps_match '^1( 1){0,2}$'
check "... and the frame stays for a second" rests_after 1000

OBSERVE_FROM=sent OBSERVE_MIN_CHANGES=1 observe 1000 10000 keys period
check ". while stopped steps one frame forward and stays" steps_match '^1$'
check "... for a second" rests_after 1000

OBSERVE_FROM=sent OBSERVE_MIN_CHANGES=1 observe 1000 10000 keys asterisk
check "* while stopped steps one frame forward" steps_match '^1$'

OBSERVE_FROM=sent OBSERVE_MIN_CHANGES=1 observe 1000 10000 keys slash
check "/ while stopped steps one frame back" steps_match '^-1$'
stopped_at=$(last_frame)
OBSERVE_FROM=sent OBSERVE_MIN_CHANGES=1 observe 1000 10000 keys slash
check "a second / steps back again" steps_match '^-1$'
check "... to the frame before ($stopped_at - 1)" test "$(last_frame)" -eq $(((stopped_at + 17) % 18))

OBSERVE_FROM=sent observe 1500 10000 keys equal a space Tab
check "=, a, space and Tab do nothing" stands_still

OBSERVE_FROM=sent OBSERVE_CHANGES=4 observe 10000 10000 keys plus
check "+ while stopped: two frames on the first pass, then one per pass" runs_forward '^2'

OBSERVE_SYNC=1 observe 1000 10000 keys asterisk
check "* while running after +: stops where the cam is" steps_match '^(1( 1)?)?$'
check "... and stays for a second" rests_after 1000

OBSERVE_FROM=sent OBSERVE_CHANGES=4 observe 10000 10000 keys comma
check ", while stopped runs forward like +" runs_forward '^2'

OBSERVE_CHANGES=4 observe 10000 10000 keys minus
check "- while running forward: two frames back, then one back per pass" runs_backward '^(1 ){0,2}-2'

OBSERVE_SYNC=1 observe 1000 10000 keys slash
check "/ while running backward: stops without stepping" steps_match '^(-1( -1)?)?$'
check "... and stays for a second" rests_after 1000

OBSERVE_FROM=sent OBSERVE_CHANGES=4 observe 10000 10000 keys minus
check "- while stopped: two frames back, then one back per pass" runs_backward '^-2'

# Keypad keys act by the character they produce.
OBSERVE_CHANGES=4 observe 10000 10000 keys KP_Add
check "keypad + overrides the backward run at once" runs_forward '^(-1 ){0,2}2'
OBSERVE_SYNC=1 observe 1000 10000 keys KP_Multiply
check "keypad * stops the run" steps_match '^(1( 1)?)?$'
check "... and the frame stays for a second" rests_after 1000
OBSERVE_FROM=sent OBSERVE_MIN_CHANGES=1 observe 1000 10000 keys KP_Divide
check "keypad / while stopped steps back" steps_match '^-1$'
OBSERVE_FROM=sent OBSERVE_CHANGES=4 observe 10000 10000 keys KP_Subtract
check "keypad - runs backward" runs_backward '^-2'

# Several requests within one pass: only the last one acts. The pair goes out together at the
# start of a pass, so it lands in one event step: the backward run stops and never turns
# forward. Should a pass still end between the two keys ("," then acts and "/" stops it), the
# pair is sent once more, so only a program that acts on both requests fails every time.
for _ in 1 2 3; do
    OBSERVE_SYNC=1 observe 1000 10000 keys --delay 0 comma slash
    steps_match '^(-1 )*2$' || break
    log "the keys fell into two passes; once more"
    keys minus
done
check ", then / within one pass: only / acts and stops the run" steps_match '^(-1( -1)?)?$'
check "... and the frame stays for a second" rests_after 1000

keys Escape
await_exit 20
check "ESC ends the program with status 0 (got $EXIT_STATUS)" test "$EXIT_STATUS" -eq 0
finish
