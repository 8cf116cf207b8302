#!/usr/bin/env bash
# Pictures of the program in a desktop's tray and of a budget warning as a
# desktop notification, into docs/: the built program
# on a private X server with a tray (trayer), a notification service (dunst)
# on a private session bus and a window manager (openbox), during a call made
# with tollwise-dial.
# Usage: scripts/tray-pictures.sh [BUILD] (default build/release). Installs
# trayer, dunst and imagemagick (Debian packages) when they are missing.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/release}
out=$root/docs
for p in trayer dunst imagemagick openbox xdotool xvfb; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
        DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "$p" >/dev/null
done

work=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; wait; rm -rf "$work"' EXIT

cp -r "$build/bin/." "$work/"
# A year of calls and their tariffs, shown in euros, and a notice at the end of each call.
"$build/bench/bin/make_report_folder" "$work" >/dev/null
# Made on lines that count no bytes: Log.volume.data's header ("TWV1", the
# 16384 calls little-endian) and -1 for each call's two counts.
{ printf 'TWV1\x00\x40\x00\x00'; head -c $((16384 * 16)) /dev/zero | tr '\0' '\377'; } >"$work/Log.volume.data"
sed -i 's/^UseUserCurrency=.*/UseUserCurrency=1/; s/^CurrencyString=.*/CurrencyString=EUR/; s/^NotifyCallEnded=.*/NotifyCallEnded=1/' \
    "$work/settings.data"

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
export QT_QPA_PLATFORM=xcb
dbus-daemon --session --nofork --print-address=4 4>"$work/bus" &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/bus" ] && break; sleep 0.1; done
export DBUS_SESSION_BUS_ADDRESS=$(head -1 "$work/bus")
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=$work/no-bus

openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
xsetroot -solid '#3a5a7a' 2>/dev/null || true
trayer --edge top --align right --widthtype request --height 28 --SetDockType true --transparent false \
    --tint 0x2b2b2b --iconspacing 4 >/dev/null 2>&1 &
pids+=($!)
cat >"$work/dunstrc" <<'DUNST'
[global]
    font = DejaVu Sans 10
    origin = top-right
    offset = 24x40
    width = 340
    notification_limit = 1
    indicate_hidden = false
    frame_width = 1
    frame_color = "#8a98a8"
    format = "<b>%s</b>\n%b"
    icon_position = left
    min_icon_size = 32
    max_icon_size = 48
[urgency_low]
    background = "#fffbe0"
    foreground = "#1c242e"
    timeout = 0
[urgency_normal]
    background = "#fffbe0"
    foreground = "#1c242e"
    timeout = 0
DUNST
sed -i "/^\[global\]/a\\    icon_path = $work/share/icons/hicolor/48x48/apps" "$work/dunstrc"
XDG_DATA_DIRS=$work/share:/usr/share dunst -config "$work/dunstrc" >/dev/null 2>&1 &
pids+=($!)
# The icon the notification names, as the package installs it.
mkdir -p "$work/share/icons/hicolor/48x48/apps"
cp "$build/icons/hicolor/48x48/apps/org.example.tollwise.png" "$work/share/icons/hicolor/48x48/apps/"
sleep 2

"$work/tollwise" >/dev/null 2>&1 &
program=$!
pids+=("$program")
sleep 5
"$work/tollwise-dial" DemoEntry >/dev/null
sleep 6

# The tray sits at the top right and holds our icon alone.
icon_x=$((800 - 14))
icon_y=14
# The tooltip, during the call.
xdotool mousemove "$icon_x" "$icon_y"
sleep 3
import -window root -crop 420x130+380+0 +repage "$out/tray-tooltip.png"
# The menu.
xdotool mousemove 400 300 click 3 2>/dev/null || true
xdotool mousemove "$icon_x" "$icon_y" click 3
sleep 1.5
import -window root -crop 420x170+380+0 +repage "$out/tray-menu.png"
xdotool key Escape
sleep 0.5

"$work/tollwise-dial" DemoEntry /disconnect >/dev/null
sleep 2
# A budget warning: the program ends as at a confirmed exit, is given a small
# budget for the provider it just logged, and warns early in the next call.
kill -TERM "$program"
wait "$program" 2>/dev/null || true
dunstctl close-all 2>/dev/null || true
printf '[Budget.0]\r\nName=DemoEntry\r\nMoney=1500\r\n' >"$work/budgets.data"
"$work/tollwise" >/dev/null 2>&1 &
program=$!
pids+=("$program")
sleep 5
"$work/tollwise-dial" DemoEntry >/dev/null
# The bubble stays (no timeout); it is taken once it has had time to show,
# wherever dunst put it, whole, with a margin of the desktop round it; +repage
# keeps no trace of the screen, which some viewers would otherwise draw.
sleep 8
bubble=$(for w in $(xdotool search --class dunst); do xdotool getwindowgeometry --shell "$w"; done |
    awk -F= '/^X=/ { x = $2 } /^Y=/ { y = $2 } /^WIDTH=/ { w = $2 } /^HEIGHT=/ { if (w > 1 && $2 > 1) print x, y, w, $2 }' | head -1)
read -r bx by bw bh <<<"$bubble"
left=$((bx > 24 ? bx - 24 : 0))
top=$((by > 12 ? by - 12 : 0))
right=$((bx + bw + 24 < 800 ? bx + bw + 24 : 800))
bottom=$((by + bh + 12 < 600 ? by + bh + 12 : 600))
import -window root -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$out/notification-budget.png"
"$work/tollwise-dial" DemoEntry /disconnect >/dev/null
echo "pictures in $out: tray-tooltip.png tray-menu.png notification-budget.png"
