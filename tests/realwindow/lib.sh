# shellcheck shell=bash
# The real-window tests' session: the shared X-session helper, with the frame probe required.
# shellcheck source-path=SCRIPTDIR source=../support/xsession.sh
. "$(dirname "${BASH_SOURCE[0]}")/../support/xsession.sh"

: "${KELTO_BIN:?path of the kelto executable}"
: "${KELTO_OBSERVER:?path of screen_observer}"
: "${KELTO_HOLDER_DUMP:?path of holder_dump}"
