#!/usr/bin/env bash
# One session at a time in a program folder: a second session (session-lock, or run-client on its
# own) refuses at once while one runs, says so, and leaves the running session's files as they
# were; two started together leave exactly one running; the lock ends with its session.
# Usage: session_lock_test.sh SCRIPTS_FOLDER
set -uo pipefail
scripts=$(cd "${1:?scripts folder}" && pwd)
work=$(mktemp -d)
holder=""
cleanup() {
  [ -n "$holder" ] && kill "$holder" 2>/dev/null && wait "$holder" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

folder="$work/program"
mkdir -p "$folder"
# A running session's files, as run-client leaves them.
printf 'first authority\n' >"$folder/game-server-ca.pem"
printf '4242\n' >"$folder/tvk.pid"
printf 'listening\n' >"$folder/game_server.log"
printf '0 "x" END_OF_FILE\n' >"$folder/tarvik.ini"
snapshot() { (cd "$folder" && find . -type f ! -name .session.lock -exec stat -c '%n %s %Y' {} + -exec md5sum {} + | sort); }
before=$(snapshot)

# The first session holds the lock while it runs.
"$scripts/session-lock" "$folder" sleep 60 &
holder=$!
for _ in $(seq 1 200); do
  flock -n "$folder/.session.lock" true 2>/dev/null || break
  sleep 0.05
done
flock -n "$folder/.session.lock" true 2>/dev/null && fail "the first session does not hold the lock"

# A second session, by either door, refuses.
for second in "$scripts/session-lock $folder true" "$scripts/run-client $folder"; do
  output=$(timeout 60 $second 2>&1)
  status=$?
  [ "$status" -ne 0 ] || fail "'$second' did not refuse"
  [ "$status" -ne 124 ] || fail "'$second' waited for the first session"
  case "$output" in
    *"A session is already running in $folder (client process 4242)"*) ;;
    *) fail "'$second' said: $output" ;;
  esac
done
[ "$(snapshot)" = "$before" ] || fail "the running session's files changed"

# The lock ends with the session.
kill "$holder"
wait "$holder" 2>/dev/null
holder=""
"$scripts/session-lock" "$folder" true || fail "no session runs, yet a new one was refused"

# Two started together: one runs, the other refuses.
"$scripts/session-lock" "$folder" sleep 2 >/dev/null 2>&1 &
one=$!
"$scripts/session-lock" "$folder" sleep 2 >/dev/null 2>&1 &
two=$!
wait "$one"
first=$?
wait "$two"
second=$?
[ $((first + second)) -eq 1 ] || fail "two sessions started together ended with $first and $second"

[ "$failures" -eq 0 ] && echo "session lock: all cases pass"
exit "$failures"
