#!/usr/bin/env bash
# The demo command: installs what is missing, builds, and runs the API on the
# demo appliance behind nginx on 127.0.0.1:8080, inside the hermetic
# environment (private /tmp, /run, /var/log, users and PAM: nothing on the
# host is touched). Stop it with Ctrl-C.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build"
KVNC_HERMETIC_NET=host exec "$root/tests/hermetic/run-hermetic" "$root/scripts/demo-inside.sh" "$root" "$root/build"
