#!/usr/bin/env bash
# Floods the real window through the X server at the fastest pace: twice 50000 typed
# characters and 100000 pointer moves, a key held at a 5 ms auto-repeat, and drags to the
# screen's corners. The viewer must stay up, its memory must not grow from one flood to the
# next, and ESC afterwards must still end it.
# Environment: KELTO_BIN, KELTO_OBSERVER, KELTO_HOLDER_DUMP, KELTO_XTEST_FLOOD; KELTO_SANITIZED
# set skips the memory check, and with it the second flood, which is there only to compare
# with the first (the address sanitizer's quarantine holds freed memory; its leak check covers
# leaks there).
# shellcheck source-path=SCRIPTDIR source=../support/xsession.sh
. "$(dirname "$0")/../support/xsession.sh"
flood=${KELTO_XTEST_FLOOD:?path of xtest_flood}

start_display
start_kelto
read -r x y < <(inner_origin)
pointer_inner 0 0
changes_within 20 10 || fail "the cam does not run fast with the pointer at the top-left"
log "resident at start: $(rss_kib) KiB"

# Events are taken in order: once a "*" typed after a flood has stopped the cam (or stepped a
# stopped one) and it rests, the viewer has worked through the flood.
drained() {
    pointer_inner 0 0
    keys asterisk
    settled_frame 1000 60000 >/dev/null
}

declare -a resident
rounds=2
[ -z "${KELTO_SANITIZED:-}" ] || rounds=1
for ((round = 1; round <= rounds; ++round)); do
    start=$(now_ms)
    "$flood" keys 50000 || fail "key flood could not be sent"
    "$flood" moves 100000 "$x" "$y" || fail "move flood could not be sent"
    log "flood $round sent in $(($(now_ms) - start)) ms"
    kelto_alive || fail "viewer ended during flood $round"
    drained || fail "the viewer does not come to rest after flood $round"
    kelto_alive || fail "viewer ended after flood $round"
    resident[round]=$(rss_kib)
    log "flood $round: drained after $(($(now_ms) - start)) ms; resident ${resident[round]} KiB"
done
if [ "$rounds" -eq 1 ]; then
    log "sanitized build: one flood, resident-memory check skipped"
else
    growth=$((resident[2] - resident[1]))
    check "resident memory does not grow from one flood to the next (+$growth KiB)" \
        test "$growth" -lt 2048
fi

"$flood" hold asterisk 3000 || fail "could not hold a key"
check "the viewer stays up under auto-repeat" kelto_alive
"$flood" drag $((x + 240)) $((y + 240)) || fail "could not drag"
check "the viewer stays up after drags to the screen corners" kelto_alive
log "after auto-repeat and drags: resident $(rss_kib) KiB"

pointer_inner 0 0
activate_window || fail "window could not be activated"
keys Escape
ends_with 0 "ESC after the floods" 60
finish
