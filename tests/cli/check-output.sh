#!/bin/sh
# Runs a command whose output cannot be written and checks that it says so: exit 3 and the reason
# on stderr, never a success with a lost or truncated result.
#
# Usage: check-output.sh full|closed <command> [arguments...]
#   full    stdout is /dev/full (every write fails: no space left on device)
#   closed  stdout is closed
set -u
mode=$1
shift
err=$(mktemp)
trap 'rm -f "$err"' EXIT
case $mode in
full) "$@" >/dev/full 2>"$err" ;;
closed) "$@" >&- 2>"$err" ;;
*) echo "unknown mode $mode" >&2 && exit 1 ;;
esac
code=$?
status=0
if [ "$code" != 3 ]; then
    echo "exit code $code, expected 3" >&2
    status=1
fi
if ! grep -qF "无法写出结果" "$err"; then
    echo "stderr lacks the write failure:" >&2
    head -c 1000 "$err" >&2
    status=1
fi
# The reason, whatever the size of the output (a big one fails while the command still runs).
if [ "$mode" = full ] && ! grep -qF "No space left on device" "$err"; then
    echo "stderr lacks the reason:" >&2
    head -c 1000 "$err" >&2
    status=1
fi
exit $status
