#!/usr/bin/env bash
# Runs a command on a private virtual X server (see xvfb.sh) and returns its status; 77
# (skipped) when Xvfb is not installed.
#   with-xvfb.sh COMMAND [ARG...]
set -u
. "$(dirname "$0")/xvfb.sh"
trap stop_xvfb EXIT
start_xvfb || exit $?
"$@"
exit $?
