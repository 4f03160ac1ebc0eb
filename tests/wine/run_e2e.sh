#!/usr/bin/env bash
# The Windows program under Wine on an X server of its own, in a Wine prefix
# of its own:
#   1. OpticCalc.exe starts on the windows platform, takes typed basic data,
#      puts the result in its table, recalculates it for another aperture,
#      exports it through the system's save dialog and, closed as a window
#      manager closes it, keeps the data in User.ini in the prefix's local
#      application-data folder;
#   2. the installer installs silently (/S) into Program Files with a Start
#      menu entry and an uninstall entry, the installed program answers and
#      starts, and the silent uninstall removes it all but the user's User.ini.
# On a failure the work folder stays for diagnosis; its path is printed.
#
# Usage: run_e2e.sh PATH/TO/OpticCalc.exe PATH/TO/INSTALLER.exe VERSION
# Needs: wine, Xvfb, xdotool, import and convert (imagemagick), python3; WINEPATH naming
# the Qt and MinGW-w64 DLLs for the program in the build folder.
set -Eeuo pipefail

if (($# != 3)); then
    echo "usage: $0 OpticCalc.exe INSTALLER.exe VERSION" >&2
    exit 2
fi
APP=$(realpath "$1")
INSTALLER=$2
VERSION=$3
HERE=$(cd "$(dirname "$0")" && pwd)
source "$HERE/../e2e/common.sh"
[[ -f $INSTALLER ]] || { echo "no installer $INSTALLER: run cpack in the build folder" >&2; exit 1; }
INSTALLER=$(realpath "$INSTALLER")

WORK=$(mktemp -d "${TMPDIR:-/tmp}/opticcalc-wine-e2e.XXXXXX")
XVFB_PID=""
APP_PID=""
export WINEPREFIX=$WORK/prefix WINEDEBUG=-all
unset QT_QPA_PLATFORM WINEQT_QPA_PLATFORM

cleanup() {
    local status=$?
    trap - EXIT INT TERM
    [[ -n $APP_PID ]] && kill "$APP_PID" 2>/dev/null
    wineserver --kill 2>/dev/null || true
    [[ -n $XVFB_PID ]] && kill "$XVFB_PID" 2>/dev/null
    settle_work_folder "$status"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

step() { echo "e2e: $*"; }
fail() {
    echo "e2e: FAILED: $*" >&2
    [[ -n ${DISPLAY:-} ]] && import -window root "$WORK/failure.png" 2>/dev/null &&
        echo "e2e: screenshot: $WORK/failure.png" >&2
    exit 1
}

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$WORK/display" \
    >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
wait_until 20 "the X server" test -s "$WORK/display"
export DISPLAY=":$(head -n1 "$WORK/display")"
step "X server on $DISPLAY, Wine prefix $WINEPREFIX"
wineboot --init >/dev/null 2>&1
wineserver --wait

user=$(wine cmd /c 'echo %USERNAME%' 2>/dev/null | tr -d '\r')
local_app_data="$WINEPREFIX/drive_c/users/$user/AppData/Local"
user_ini="$local_app_data/TAVREL/Lunavue/User.ini"

WIN=""
find_window() {
    WIN=$(xdotool search --onlyvisible --name ' Spot$' 2>/dev/null | head -n1) || true
    [[ -n $WIN ]]
}

# start EXE: the program and its window, with the keyboard in it.
start() {
    wine "$1" >"$WORK/program.log" 2>&1 &
    APP_PID=$!
    wait_until 60 "the calculator window" find_window
    xdotool windowfocus "$WIN" 2>/dev/null || true
    sleep 1
}

close() {
    close_program 30
    wineserver --wait
}

expect_bytes() {
    local what=$1 file=$2 expected=$3
    [[ -f $file ]] || fail "$what: $file does not exist"
    cmp -s "$file" <(printf '%s' "$expected") || {
        od -c "$file" >&2
        fail "$what differs"
    }
}

# Client positions; without a window manager Wine's window is the client
# area with the menu bar above it, as on Linux.
OFFSET=0
click() { xdotool mousemove --window "$WIN" "$1" $(($2 + OFFSET)) click 1; }
enter_text() {
    click "$1" "$2"
    xdotool key ctrl+a
    xdotool type --delay 40 "$3"
}
SNAP="$WORK/snap.png"
line_at() {
    import -window "$WIN" "$SNAP" 2>/dev/null || return 1
    [[ $(convert "$SNAP" -format "%[hex:u.p{$1,$((150 + OFFSET))}]" info:) == FF0000 ]]
}
SAVE_DIALOG=""
find_save_dialog() {
    SAVE_DIALOG=$(xdotool search --onlyvisible --name '' 2>/dev/null | while read -r w; do
        [[ $w == "$WIN" ]] && continue
        xdotool getwindowgeometry "$w" | grep -q 'Geometry: [3-9][0-9][0-9]x' && echo "$w"
    done | head -n1) || true
    [[ -n $SAVE_DIALOG ]]
}

step "1. typed basic data, the result exported through the save dialog, User.ini kept"
start "$APP"
OFFSET=$(($(xdotool getwindowgeometry "$WIN" | sed -n 's/.*Geometry: [0-9]*x//p') - 492))
csv_windows='C:\users\Public\export.csv'
csv="$WINEPREFIX/drive_c/users/Public/export.csv"
enter_text 57 58 10
enter_text 167 58 500
enter_text 282 58 30
xdotool key Return
# The slider is enabled by the 50 ms watch; a drag before that is lost.
# A drag is repeated only while the thumb still stands at 0: a press beside
# the thumb would page the slider.
for _ in 1 2 3 4 5; do
    xdotool mousemove --window "$WIN" 294 $((231 + OFFSET)) mousedown 1 \
        mousemove --window "$WIN" 390 $((231 + OFFSET)) mouseup 1
    deadline=$((SECONDS + 3))
    until line_at 390 || ((SECONDS >= deadline)); do sleep 0.1; done
    line_at 390 && break
done
line_at 390 || fail "dragging the slider did not move the line to client x 390"
click 621 48      # Copy to table
sleep 1
enter_text 282 58 20
sleep 1
click 314 303     # Calculate
sleep 1
click 314 377     # Export
wait_until 30 "the save dialog" find_save_dialog
xdotool windowfocus "$SAVE_DIALOG" 2>/dev/null || true
sleep 1
xdotool type --delay 40 "$csv_windows"
xdotool key Return
wait_until 30 "the CSV file" test -s "$csv"
close
# The result of the recalculated row, as the table shows it.
expect_bytes "CSV file" "$csv" $'Distance a [mm];Spot size M90 [mm]\r\n250.0;15.0\r\n'
expect_bytes "User.ini" "$user_ini" \
    $'[OpticCalc]\r\nSprache=English\r\nBasicM90=10\r\nBasicA=500\r\nBasicApertur=20\r\n'

step "2. silent install, start, silent uninstall"
wine "$INSTALLER" /S
wineserver --wait
installed="$WINEPREFIX/drive_c/Program Files/OpticCalc"
for file in OpticCalc.exe Lang.ini Qt6Core.dll Qt6Widgets.dll libstdc++-6.dll \
    platforms/qwindows.dll styles/qwindowsvistastyle.dll translations/qtbase_de.qm Uninstall.exe; do
    [[ -f $installed/$file ]] || fail "not installed: $file"
done
link=$(find "$WINEPREFIX/drive_c" -path '*Start Menu*' -iname 'OpticCalc*.lnk' | head -n1)
[[ -n $link ]] || fail "no Start menu entry"
grep -aq 'OpticCalc\\OpticCalc.exe' "$link" || fail "the Start menu entry does not lead to OpticCalc.exe"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\OpticCalc'
entry=$(wine reg query "$uninstall_key" 2>/dev/null | tr -d '\r')
grep -q "DisplayVersion.*$VERSION" <<<"$entry" || fail "uninstall entry without version: $entry"
grep -q 'Publisher.*TAVREL GmbH' <<<"$entry" || fail "uninstall entry without publisher: $entry"
answer=$(wine "$installed/OpticCalc.exe" --version 2>/dev/null | tr -d '\r')
[[ $answer == "OpticCalc $VERSION" ]] || fail "the installed program answers '$answer'"
# Without the build folder's DLLs: the installed program brings its own.
WINEPATH="" start "$installed/OpticCalc.exe"
close
wine "$installed/Uninstall.exe" /S
wineserver --wait
# The uninstaller copies itself away and runs from there; wait for it.
wait_until 30 "the uninstaller" test ! -e "$installed/OpticCalc.exe"
left=$(find "$installed" 2>/dev/null || true)
[[ -z $left ]] || fail "left behind: $left"
wine reg query "$uninstall_key" >/dev/null 2>&1 && fail "the uninstall entry is left"
[[ -f $user_ini ]] || fail "the uninstaller removed User.ini"
step "all passed"
