#!/usr/bin/env bash
# Takes a picture of every window of the built program, run as a user would
# on a private X server, into docs/windows/. Usage: scripts/gallery.sh [BUILD]
# (default build/release). Needs Xvfb, openbox, xdotool, imagemagick, dbus,
# gdbus and python3-dbusmock.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/release}
out=$root/docs/windows
work=$(mktemp -d)
trap 'kill "${program:-}" "${nm:-}" "${bus:-}" "${wm:-}" "${xvfb:-}" 2>/dev/null || true; wait; rm -rf "$work" "${nm_work:-}"' EXIT

cp -r "$build/bin/." "$work/"
# A full log of two years' calls up to an hour ago, costed by the tariffs,
# shown in euros.
"$build/bench/bin/make_gallery_folder" "$work"
mkdir -p "$out"

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
export QT_QPA_PLATFORM=xcb
# Under a window manager, as on a desktop: the splash stays on top.
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
sleep 1

windows() { xdotool search --pid "$program" --onlyvisible 2>/dev/null | sort || true; }
# The window that appeared since the list in $1, waiting up to five seconds.
new_window() {
    for _ in $(seq 50); do
        local fresh
        fresh=$(comm -13 <(echo "$1") <(windows) | tail -1)
        if [ -n "$fresh" ]; then echo "$fresh"; return; fi
        sleep 0.1
    done
    echo "no new window" >&2
    return 1
}
# The program's visible window of size $1 (WxH), waiting up to five seconds.
sized() {
    for _ in $(seq 50); do
        for w in $(windows); do
            eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null)" || continue
            [ "${WIDTH:-}x${HEIGHT:-}" = "$1" ] && { echo "$w"; return; }
        done
        sleep 0.1
    done
    echo "no window of $1" >&2
    return 1
}
# The program's window that is none of the main, call log, handle or splash.
message_window() {
    for w in $(windows); do
        eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null)" || continue
        case "${WIDTH:-}x${HEIGHT:-}" in 492x232 | 492x272 | 492x12 | 456x366) ;; *) echo "$w"; return ;; esac
    done
    echo "no message" >&2
    return 1
}
snap() { sleep 1; import -window "$1" "$out/$2.png"; echo "$2"; }
# The screen around window $1, for what opens beside it (menus, calendars).
snap_around() {
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$1")"
    import -window root -crop "${WIDTH}x$HEIGHT+$X+$Y" +repage "$out/$2.png"
    echo "$2"
}
click() { # window x y
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove $((X + $2)) $((Y + $3)) click 1
}
start() { # [FOLDER], the gallery's by default
    (cd "${1:-$work}" && exec ./tollwise) >>"$work/output.txt" 2>&1 &
    program=$!
    for _ in $(seq 50); do [ -n "$(windows)" ] && break; sleep 0.1; done
}
escape() { # closes window $1 with key $2 (Escape) and waits until it has gone
    xdotool windowfocus --sync "$1" key "${2:-Escape}" 2>/dev/null || true
    for _ in $(seq 30); do windows | grep -qx "$1" || return 0; sleep 0.1; done
}
stop() { kill "$program" 2>/dev/null || true; wait "$program" 2>/dev/null || true; }

# Main window coordinates, as the skin places them.
main_settings=(164 19) main_new=(196 19) main_tariffs=(228 19) main_account=(260 19) main_about=(292 19)
main_dial=(60 78) main_close=(468 19)

start
snap "$(sized 456x366)" splash
main=$(sized 492x232)
sleep 1; start_windows=$(windows)
sleep 3
import -window root -crop 492x516+0+0 "$out/application.png"; echo application

# A call from another program, costed as it runs.
(cd "$work" && ./tollwise-dial DemoEntry >/dev/null)
sleep 5
snap "$main" main-call
(cd "$work" && ./tollwise-dial DemoEntry /disconnect >/dev/null)
sleep 2
snap "$main" main

before=$(windows)
# The year's log is full: the call just logged moved the oldest calls aside.
advice=$(comm -13 <(echo "$start_windows") <(echo "$before"))
if [ -n "$advice" ]; then
    snap "$advice" message-advice
    xdotool windowfocus --sync "$advice" key Return
    sleep 0.5
    before=$(windows)
fi
for dialog in settings tariffs account about new; do
    declare -n at=main_$dialog
    click "$main" "${at[0]}" "${at[1]}"
    shown=$(new_window "$before")
    snap "$shown" "$dialog"
    case $dialog in
    tariffs)
        # Editing, a new tariff, the clash its whole day finds, and the delete question.
        click "$shown" 728 139
        snap "$shown" tariffs-edit
        click "$shown" 728 253
        click "$shown" 728 101
        snap "$shown" tariffs-new
        opened=$(windows)
        click "$shown" 728 215
        question=$(new_window "$opened")
        snap "$question" tariff-clash
        escape "$question" Return
        click "$shown" 728 253
        click "$shown" 728 177
        question=$(new_window "$opened")
        snap "$question" tariff-delete
        escape "$question"
        ;;
    account)
        # The calendar of the date the provider was first used.
        click "$shown" 480 213
        click "$shown" 375 239
        snap_around "$shown" calendar
        xdotool key Escape
        sleep 0.5
        click "$shown" 480 309
        ;;
    esac
    escape "$shown"
done

click "$main" "${main_dial[@]}"
snap "$(new_window "$before")" progress
sleep 6
click "$main" "${main_dial[@]}"
sleep 2

log=$(sized 492x272)
click "$log" 60 86
click "$log" 317 37
editor=$(new_window "$before")
snap "$editor" call-editor
escape "$editor"

click "$log" 385 37
question=$(new_window "$before")
snap "$question" call-delete
escape "$question"

# The statistics as figures, then the Report menu and the Export dialog.
for x in 42 99 158 216 274 331 390 448; do click "$log" $x 217; done
snap "$log" statistics-values
click "$log" 181 37
sleep 1
import -window root "$out/report-menu.png"
echo report-menu
xdotool key Escape
sleep 0.5
click "$log" 113 37
exporting=$(new_window "$before")
snap "$exporting" export
escape "$exporting"

# The chart of the calls shown: a month, a bar's figures, then the year.
click "$log" 247 37
chart=$(new_window "$before")
click "$chart" 233 300
snap "$chart" chart-month
click "$chart" 595 64
snap "$chart" chart-year
escape "$chart"

click "$main" "${main_close[@]}"
question=$(new_window "$before")
snap "$question" message
# A file that cannot be written at exit: Retry or Abort.
cp "$work/settings.data" "$work/settings.kept"
rm "$work/settings.data"
mkdir "$work/settings.data"
before=$(windows)
escape "$question" Return
snap "$(new_window "$before")" message-save-failed
stop
rmdir "$work/settings.data"
mv "$work/settings.kept" "$work/settings.data"

# A dial that fails: the dialling window with the error in full.
sed -i 's/^FailWithError=.*/FailWithError=678/' "$work/phonebook.ini"
start
main=$(sized 492x232)
sleep 4
before=$(windows)
click "$main" "${main_dial[@]}"
dialling=$(new_window "$before")
sleep 8
snap "$dialling" progress-error
stop
sed -i 's/^FailWithError=.*/FailWithError=0/' "$work/phonebook.ini"

# A second dial-up line during a call, on a mock NetworkManager on a bus of
# its own (never the machine's): the advice told once. In a copy of the
# folder, so the call it logs changes no later picture.
nm_work=$(mktemp -d)
cp -r "$work/." "$nm_work/"
cat >"$nm_work/bus.conf" <<EOF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig><type>custom</type><listen>unix:path=$nm_work/bus</listen>
<policy context="default"><allow send_destination="*" eavesdrop="true"/><allow eavesdrop="true"/><allow own="*"/></policy>
</busconfig>
EOF
dbus-daemon --config-file="$nm_work/bus.conf" --nofork --print-address=1 >"$nm_work/bus-address" 2>/dev/null &
bus=$!
for _ in $(seq 50); do [ -s "$nm_work/bus-address" ] && break; sleep 0.1; done
DBUS_SYSTEM_BUS_ADDRESS=$(head -1 "$nm_work/bus-address")
export DBUS_SYSTEM_BUS_ADDRESS
# Debian's interpreter, which has the mock library.
/usr/bin/python3 -m dbusmock --system --template networkmanager >"$nm_work/nm.log" 2>&1 &
nm=$!
nm_call() { # OBJECT --method METHOD ARGUMENTS...: prints the path or text it returns
    gdbus call --address "$DBUS_SYSTEM_BUS_ADDRESS" --dest org.freedesktop.NetworkManager --object-path "$@" |
        sed -n "s/^(\(objectpath \)\?'\([^']*\)',)$/\2/p"
}
for _ in $(seq 50); do
    nm_call /org/freedesktop/NetworkManager --method org.freedesktop.DBus.Peer.Ping >/dev/null 2>&1 && break
    sleep 0.1
done
mock=(/org/freedesktop --method org.freedesktop.DBus.Mock)
add_connection=(/org/freedesktop/NetworkManager/Settings --method org.freedesktop.NetworkManager.Settings.AddConnection)
dsl_device=$(nm_call "${mock[@]}.AddEthernetDevice" eth0 eth0 30)
gsm_device=$(nm_call "${mock[@]}.AddEthernetDevice" ttyUSB0 ttyUSB0 30)
dsl=$(nm_call "${add_connection[@]}" "{'connection': {'id': <'DSL PPPoE'>, 'type': <'pppoe'>}}")
gsm=$(nm_call "${add_connection[@]}" "{'connection': {'id': <'Mobile GSM'>, 'type': <'gsm'>}}")
sed -i 's/^DialUpService=.*/DialUpService=NetworkManager/' "$nm_work/settings.data"
start "$nm_work"
sized 492x232 >/dev/null
sleep 3
before=$(windows)
nm_call "${mock[@]}.AddActiveConnection" "['$dsl_device']" "$dsl" / dsl 2 >/dev/null
sleep 4
nm_call "${mock[@]}.AddActiveConnection" "['$gsm_device']" "$gsm" / gsm 2 >/dev/null
snap "$(new_window "$before")" second-line
stop
kill "$nm" "$bus"
wait "$nm" "$bus" 2>/dev/null || true
unset DBUS_SYSTEM_BUS_ADDRESS

# A damaged providers file at start-up.
printf 'damaged' >"$work/Providers.data"
start
sleep 3
snap "$(message_window)" invalid-data-file
stop

# A damaged image in the skin: reported, and the built-in picture stands in.
rm "$work/Providers.data"
printf 'damaged' >"$work/skins/default/main.ubm"
start
sleep 3
damaged=$(message_window)
snap "$damaged" damaged-skin
escape "$damaged" Return
snap "$(sized 492x232)" main-fallback
stop
