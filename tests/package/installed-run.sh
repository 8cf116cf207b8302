#!/usr/bin/env bash
# Installs the package into a scratch root and runs the installed program as
# an ordinary user (nobody) with a fresh home on a private X server: it must
# start, cost a call made with the installed tollwise-dial, and keep its files
# in that home and nowhere else.
#   installed-run.sh PACKAGE_FOLDER
set -euo pipefail
deb=$(ls "$1"/tollwise_*.deb)
user=65534

work=$(mktemp -d /tmp/tollwise-installed-XXXXXX)
chmod 755 "$work"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    echo "--- program output:" >&2
    cat "$work/program.log" >&2 2>/dev/null || true
    exit 1
}

root=$work/root
home=$work/home
cwd=$work/cwd
data=$home/.local/share/tollwise
dpkg-deb -x "$deb" "$root"
runtime=$work/runtime
mkdir -p "$home" "$cwd" "$runtime"
chown "$user:$user" "$home" "$cwd" "$runtime"
chmod 700 "$runtime"

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -ac 3>"$work/display" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb gave no display"
display=:$(cat "$work/display")

stamp=$work/stamp
touch "$stamp"
sleep 1 # file times have a resolution coarser than this script's steps

# No session or system bus of the machine's: the program must fall back to
# its simulated dial-up service and need nothing from the desktop.
as_user() {
    setpriv --reuid=$user --regid=$user --clear-groups \
        env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 DISPLAY="$display" XDG_RUNTIME_DIR="$runtime" \
        DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus" DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/no-bus" "$@"
}

cd "$cwd"
as_user "$root/usr/bin/tollwise" >"$work/program.log" 2>&1 &
program=$!
pids+=("$program")

# Started: the main window is up (after the splash) and the data folder made.
for _ in $(seq 100); do
    DISPLAY=$display xdotool search --onlyvisible --name '^Dialtally' >/dev/null 2>&1 && break
    sleep 0.2
done
DISPLAY=$display xdotool search --onlyvisible --name '^Dialtally' >/dev/null 2>&1 || fail "no main window"
[ -d "$data" ] || fail "no data folder $data"
[ "$(stat -c %a "$data")" = 700 ] || fail "data folder $data is not private"

as_user "$root/usr/bin/tollwise-dial" DemoEntry >"$work/dial.log" 2>&1 || fail "dial: $(cat "$work/dial.log")"
sleep 3 # a few seconds of call, costed once a second
as_user "$root/usr/bin/tollwise-dial" DemoEntry /disconnect >>"$work/dial.log" 2>&1 || fail "hang-up: $(cat "$work/dial.log")"
for _ in $(seq 50); do
    grep -q '^Log.NumberOfRecords=1' "$data/settings.data" 2>/dev/null && break
    sleep 0.2
done
grep -q '^Log.NumberOfRecords=1' "$data/settings.data" 2>/dev/null || fail "the call was not logged"

kill -TERM "$program"
for _ in $(seq 50); do kill -0 "$program" 2>/dev/null || break; sleep 0.2; done
kill -0 "$program" 2>/dev/null && fail "the program did not end on SIGTERM"

for file in Providers.data:55306 Log.data:524288 Tariffs.data:38912; do
    size=$(stat -c %s "$data/${file%%:*}" 2>/dev/null || echo 0)
    [ "$size" = "${file##*:}" ] || fail "${file%%:*} is $size bytes, not ${file##*:}"
done
[ -s "$data/phonebook.ini" ] || fail "no simulated phonebook in the data folder"

# Nowhere else: not beside the program, not in the current folder, not in
# shared temporary folders, not elsewhere in the home.
[ -z "$(find "$root" -newer "$stamp" -print -quit)" ] || fail "wrote into the installation: $(find "$root" -newer "$stamp")"
[ -z "$(ls -A "$cwd")" ] || fail "wrote into the current folder: $(ls -A "$cwd")"
# The one-program-per-folder guard listens on a local socket there, as local
# sockets live; it is no file the program keeps.
stray=$(find /tmp /var/tmp /dev/shm -xdev -user $user -newer "$stamp" -not -path "$work/*" -not -type s 2>/dev/null || true)
[ -z "$stray" ] || fail "wrote outside its home: $stray"
# Libraries may keep caches of their own; the program's files are in its data folder.
stray=$(cd "$home" && find . -type f -not -path './.local/share/tollwise/*' -not -path './.cache/*')
[ -z "$stray" ] || fail "wrote elsewhere in the home: $stray"
echo "installed program ran as uid $user; its files: $(ls "$data" | tr '\n' ' ')"
