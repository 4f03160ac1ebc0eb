#!/usr/bin/env bash
# Drives the real OpticCalc window on an X server of its own, as a user would:
#   1. the typical use under a German regional setting, with the CSV export
#      through the real save dialog and the settings written at exit;
#   2. a language switch that survives a restart;
#   3. an unreachable wanted spot that brings up the "Problem" box;
#   4. the target planner opened with Ctrl+T, a target typed and the
#      comparison exported as CSV through its real save dialog
#      (E2E_PLANNER_EXPORTS=N exports N times in a row, 1 by default);
#   5. optics added to the planner from data-sheet ratios and from a pasted
#      five-point chart, and the optics list exported as a file to share.
# Every run of the program gets a fresh HOME and XDG_CONFIG_HOME. On a failure
# a screenshot and the program's output stay in the work folder, whose path is
# printed; on success the folder is removed.
#
# Usage: run_e2e.sh PATH/TO/OpticCalc
# Needs: Xvfb (xvfb), xdotool, xclip, import and convert (imagemagick), python3.
set -Eeuo pipefail

if (($# != 1)) || [[ ! -x $1 ]]; then
    echo "usage: $0 PATH/TO/OpticCalc" >&2
    exit 2
fi
APP=$(realpath "$1")
LANG_INI=$(dirname "$APP")/Lang.ini
if [[ ! -f $LANG_INI ]]; then
    echo "no Lang.ini beside $APP" >&2
    exit 1
fi
HERE=$(cd "$(dirname "$0")" && pwd)
source "$HERE/common.sh"

missing=()
for tool in Xvfb xdotool xclip import convert python3; do
    command -v "$tool" >/dev/null || missing+=("$tool")
done
if ((${#missing[@]})); then
    echo "missing tools: ${missing[*]} (packages xvfb xdotool xclip imagemagick python3)" >&2
    exit 1
fi

WORK=$(mktemp -d "${TMPDIR:-/tmp}/opticcalc-e2e.XXXXXX")
# Started through a link of another name, as the package's /usr/bin/opticcalc
# does: the window's class must not follow the name.
LAUNCHER="$WORK/opticcalc"
ln -s "$APP" "$LAUNCHER"
XVFB_PID=""
APP_PID=""
WATCHDOG_PID=""
SHOTS=0

# --------------------------------------------------------------- clean-up

stop_pid() {
    local pid=$1
    [[ -n $pid ]] && kill -0 "$pid" 2>/dev/null || return 0
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null || true
}

cleanup() {
    local status=$?
    trap - EXIT INT TERM
    stop_pid "$APP_PID"
    stop_pid "$XVFB_PID"
    if [[ -n $WATCHDOG_PID ]]; then kill "$WATCHDOG_PID" 2>/dev/null || true; fi
    settle_work_folder "$status"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
trap 'fail "unexpected failure in line $LINENO: $BASH_COMMAND"' ERR

# ---------------------------------------------------------------- reporting

step() { echo "e2e: $*"; }

screenshot() {
    SHOTS=$((SHOTS + 1))
    local file="$WORK/failure-$SHOTS.png"
    if [[ -n ${DISPLAY:-} ]] && import -window root "$file" 2>/dev/null; then
        echo "e2e: screenshot: $file" >&2
    fi
}

fail() {
    echo "e2e: FAILED: $*" >&2
    screenshot
    if [[ -n ${APP_LOG:-} && -s $APP_LOG ]]; then
        echo "e2e: program output ($APP_LOG):" >&2
        sed 's/^/    /' "$APP_LOG" >&2
    fi
    exit 1
}


# ---------------------------------------------------------------- X server

start_x_server() {
    # -displayfd lets the server pick a free display and tells us once it
    # accepts connections.
    # -noreset: the server must not restart when a run of the program ends.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset \
        3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    local deadline=$((SECONDS + 20))
    until [[ -s $WORK/display ]]; do
        kill -0 "$XVFB_PID" 2>/dev/null || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
        ((SECONDS < deadline)) || fail "Xvfb gave no display number"
        sleep 0.1
    done
    DISPLAY=":$(head -n1 "$WORK/display")"
    export DISPLAY
    step "X server on $DISPLAY"

    # Should the test runner kill only this shell, the server and the
    # program still go.
    (
        parent=$$
        while kill -0 "$parent" 2>/dev/null; do sleep 1; done
        # The program ends by itself when its X server goes.
        kill "$XVFB_PID" 2>/dev/null
    ) >/dev/null 2>&1 </dev/null &
    WATCHDOG_PID=$!
}

# ---------------------------------------------------------------- the program

WIN=""
OFFSET=0 # height of the menu bar above the client area

# start_program SETTINGS_FOLDER LOCALE
start_program() {
    local home=$1 locale=$2
    mkdir -p "$home/.config" "$home/runtime"
    chmod 700 "$home/runtime"
    APP_LOG="$home/program-$(date +%s%N).log"
    HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$home/runtime" \
        LC_ALL="$locale" LANG="$locale" LANGUAGE="" QT_QPA_PLATFORM=xcb \
        "$LAUNCHER" >"$APP_LOG" 2>&1 &
    APP_PID=$!
    WIN=""
    wait_until 30 "the calculator window" find_main_window
    local class
    class=$(python3 "$HERE/window_class.py" "$WIN") || fail "the window has no class"
    [[ $class == "opticcalc OpticCalc" ]] || fail "window class \"$class\", not \"opticcalc OpticCalc\""
    geometry "$WIN"
    ((GEO_W == 687)) || fail "window width $GEO_W, not 687"
    OFFSET=$((GEO_H - 492))
    ((OFFSET > 0)) || fail "window height $GEO_H leaves no room for the menu bar"
}

# geometry WINDOW: sets GEO_X, GEO_Y, GEO_W, GEO_H (root coordinates).
GEO_X=0 GEO_Y=0 GEO_W=0 GEO_H=0
geometry() {
    local key value
    while IFS='=' read -r key value; do
        case $key in
        X) GEO_X=$value ;;
        Y) GEO_Y=$value ;;
        WIDTH) GEO_W=$value ;;
        HEIGHT) GEO_H=$value ;;
        esac
    done < <(xdotool getwindowgeometry --shell "$1")
}

find_main_window() {
    kill -0 "$APP_PID" 2>/dev/null || fail "the program ended early"
    WIN=$(xdotool search --all --onlyvisible --pid "$APP_PID" --name ' Spot$' \
        2>/dev/null | head -n1) || true
    [[ -n $WIN ]]
}

# Another visible window of the program: a dialog, a box or a menu.
other_window() {
    { xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null || true; } |
        grep -vx "$WIN" | head -n1 || true
}

has_other_window() { [[ -n $(other_window) ]]; }

# The save dialog: another window of the program, wide enough not to be a
# tooltip.
SAVE_DIALOG=""
find_save_dialog() {
    SAVE_DIALOG=$(other_window)
    [[ -n $SAVE_DIALOG ]] || return 1
    geometry "$SAVE_DIALOG"
    ((GEO_W >= 300))
}
has_no_other_window() { [[ -z $(other_window) ]]; }

# Gives a dialog or box the keyboard; there is no window manager to do it.
focus_window() {
    xdotool windowfocus "$1" 2>/dev/null || true
    has_focus() { [[ $(xdotool getwindowfocus 2>/dev/null) == "$1" ]]; }
    wait_until 10 "the keyboard focus in window $1" has_focus "$1"
}


# ---------------------------------------------------------------- input

# Client coordinates; the menu bar lies above the client area.
click() {
    xdotool mousemove --window "$WIN" "$1" $(($2 + OFFSET)) click 1
}

# Presses at the first point, moves to the second and releases there.
drag() {
    xdotool mousemove --window "$WIN" "$1" $(($2 + OFFSET)) mousedown 1 \
        mousemove --window "$WIN" "$3" $(($4 + OFFSET)) mouseup 1
}

type_text() { xdotool type --delay 30 "$1"; }
press() { xdotool key "$@"; }

# Replaces an edit's text: click, select all, type.
enter_text() {
    click "$1" "$2"
    press ctrl+a
    type_text "$3"
}

# ---------------------------------------------------------------- the screen

SNAP="$WORK/snap.png"
snap() { import -window "$WIN" "$SNAP" 2>/dev/null; }

# colour_at X Y: the hex colour of a client pixel in the last snap.
colour_at() {
    convert "$SNAP" -format "%[hex:u.p{$1,$(($2 + OFFSET))}]" info:
}

# region X Y W H: an ImageMagick crop of a client rectangle.
region() { echo "$3x$4+$1+$(($2 + OFFSET))"; }

# A button's caption is black when enabled and grey when disabled.
button_enabled() {
    local left=$1 top=$2 width=$3 height=$4 darkest
    snap || return 1
    darkest=$(convert "$SNAP" -crop "$(region $((left + 32)) $((top + 5)) $((width - 36)) \
        $((height - 10)))" -colorspace gray -format '%[fx:minima]' info:)
    awk -v d="$darkest" 'BEGIN { exit !(d < 0.3) }'
}

# An edit shows no text when its inside is one colour.
edit_empty() {
    local colours
    colours=$(convert "$SNAP" -crop "$(region $(($1 + 8)) $(($2 + 4)) 38 13)" -format '%k' info:)
    ((colours == 1))
}

# The red line stands at the given client x.
line_at() {
    snap || return 1
    [[ $(colour_at "$1" 150) == FF0000 ]]
}

# The results table's buttons move with the column headers; their left edge
# is 120 pixels left of the panel's right edge, which is where the window's
# background starts on a row through CalcButton.
TABLE_BUTTON_X=0
find_table_buttons() {
    snap || fail "no screenshot of the window"
    local right
    # One pixel per line: "x,y: (r,g,b)  #RRGGBB  ..."; the last pixel left
    # of the background run that ends the row is the panel's right column.
    right=$(convert "$SNAP" -crop "$(region 0 $((264 + 24 + 15)) 687 1)" +repage txt:- |
        awk -F'[,: ]+' 'NR > 1 { x = $1; if (index($0, "#E7E7F7") == 0) last = x }
                        END { print last }')
    [[ -n $right ]] || fail "found no right edge of the table panel"
    TABLE_BUTTON_X=$((right + 1 - 120))
}

# ---------------------------------------------------------------- Lang.ini

# lang_text SECTION KEY: the text in the language file (Windows-1252 bytes),
# section and key names without regard to case.
lang_text() {
    LC_ALL=C awk -v section="$1" -v key="$2" '
        function trim(s) { sub(/^[ \t]+/, "", s); sub(/[ \t\r]+$/, "", s); return s }
        /^[ \t]*\[/ { s = $0; sub(/^[ \t]*\[/, "", s); sub(/\].*$/, "", s)
                      inside = tolower(s) == tolower(section); next }
        inside && index($0, "=") {
            k = trim(substr($0, 1, index($0, "=") - 1))
            if (tolower(k) == tolower(key)) { print trim(substr($0, index($0, "=") + 1)); exit }
        }' "$LANG_INI"
}

# ---------------------------------------------------------------- checks

expect_bytes() {
    local what=$1 file=$2 expected=$3
    [[ -f $file ]] || fail "$what: $file does not exist"
    if ! cmp -s "$file" <(printf '%s' "$expected"); then
        echo "e2e: expected $what:" >&2
        printf '%s' "$expected" | od -c >&2
        echo "e2e: found:" >&2
        od -c "$file" >&2
        fail "$what differs"
    fi
}

expect_title() {
    local expected=$1 title="" deadline=$((SECONDS + 10))
    while ((SECONDS < deadline)); do
        title=$(xdotool getwindowname "$WIN" 2>/dev/null) || true
        [[ $title == "$expected" ]] && return 0
        sleep 0.1
    done
    fail "the window title is \"$title\", not \"$expected\""
}

# Client positions of the controls.
MEDIT=(57 58)
AEDIT=(167 58)
DEDIT=(282 58)
M2EDIT=(405 58)
M2EDIT_BOX=(380 48)
A2EDIT_BOX=(486 48)
TOTABLE=(570 30 103 37)
SLIDER_AT_0=(294 231)
SLIDER_AT_96=(390 231)

# Basic data typed, then the slider's thumb dragged from 0 to position 96
# (the line at 390).
basic_data_and_slider() {
    click "${MEDIT[@]}"
    type_text "$1"
    click "${AEDIT[@]}"
    type_text "$2"
    click "${DEDIT[@]}"
    type_text "$3"
    press Return
    # The slider is enabled by the 50 ms watch; a drag before that is lost,
    # and the thumb then still stands at 0 for the next try.
    local _
    for _ in 1 2 3 4 5; do
        drag "${SLIDER_AT_0[@]}" "${SLIDER_AT_96[@]}"
        local deadline=$((SECONDS + 2))
        while ((SECONDS < deadline)); do
            line_at 390 && return 0
            sleep 0.1
        done
    done
    fail "dragging the slider did not move the line to client x 390"
}

# ================================================================ scenarios

typical_use_german() {
    step "1. typical use under de_DE.UTF-8"
    local home="$WORK/typical" csv="$WORK/typical/export.csv"
    start_program "$home" de_DE.UTF-8
    expect_title "$(lang_text Deutsch OptischerRechner | iconv -f CP1252 -t UTF-8) Spot"

    basic_data_and_slider 10 500 30
    wait_until 10 "ToTableButton enabled" button_enabled "${TOTABLE[@]}"
    click $((TOTABLE[0] + 51)) $((TOTABLE[1] + 18))

    find_table_buttons
    local calc_button=("$TABLE_BUTTON_X" $((264 + 24)) 100 31)
    local export_button=("$TABLE_BUTTON_X" $((264 + 98)) 100 31)
    wait_until 10 "ExportButton enabled (a table row)" button_enabled "${export_button[@]}"

    enter_text "${DEDIT[@]}" 20
    wait_until 10 "CalcButton enabled" button_enabled "${calc_button[@]}"
    click $((calc_button[0] + 50)) $((calc_button[1] + 15))

    click $((export_button[0] + 50)) $((export_button[1] + 15))
    wait_until 20 "the save dialog" find_save_dialog
    # The file name field has the focus when the dialog opens.
    focus_window "$SAVE_DIALOG"
    type_text "$csv"
    press Return
    wait_until 20 "the save dialog to close" has_no_other_window
    wait_until 10 "the CSV file" test -s "$csv"

    close_program 20
    # The decimal comma shows that the program took the German regional
    # setting from LC_ALL.
    local header
    header="$(lang_text Deutsch MessAbstand) a [mm];$(lang_text Deutsch MessFeld) M90 [mm]"
    expect_bytes "CSV file" "$csv" "$header"$'\r\n'"250,0;15,0"$'\r\n'
    expect_bytes "User.ini" "$home/.config/TAVREL/Lunavue/User.ini" \
        $'[OpticCalc]\r\nSprache=Deutsch\r\nBasicM90=10\r\nBasicA=500\r\nBasicApertur=20\r\n'
}

language_switch() {
    step "2. language switch that survives a restart"
    local home="$WORK/language"
    local english german
    english="$(lang_text English OptischerRechner | iconv -f CP1252 -t UTF-8) Spot"
    german="$(lang_text Deutsch OptischerRechner | iconv -f CP1252 -t UTF-8) Spot"
    [[ $english != "$german" ]] || fail "Lang.ini gives both languages the same title"

    start_program "$home" C.UTF-8
    expect_title "$english"
    # "Sprache/Language" is the first menu of the menu bar; "Deutsch" is the
    # first item of its menu.
    xdotool mousemove --window "$WIN" 40 $((OFFSET / 2)) click 1
    wait_until 10 "the language menu" has_other_window
    geometry "$(other_window)"
    xdotool mousemove $((GEO_X + GEO_W / 2)) $((GEO_Y + 11)) click 1
    expect_title "$german"
    close_program 20
    expect_bytes "User.ini" "$home/.config/TAVREL/Lunavue/User.ini" \
        $'[OpticCalc]\r\nSprache=Deutsch\r\nBasicM90=\r\nBasicA=\r\nBasicApertur=\r\n'

    start_program "$home" C.UTF-8
    expect_title "$german"
    close_program 20
}

PROBLEM_BOX=""
find_problem_box() {
    PROBLEM_BOX=$(xdotool search --all --onlyvisible --pid "$APP_PID" --name '^Problem$' \
        2>/dev/null | head -n1) || true
    [[ -n $PROBLEM_BOX ]]
}

invalid_wanted_spot() {
    step "3. an unreachable wanted spot shows the Problem box"
    local home="$WORK/invalid"
    start_program "$home" C.UTF-8
    basic_data_and_slider 10 500 30
    snap
    if edit_empty "${M2EDIT_BOX[@]}" || edit_empty "${A2EDIT_BOX[@]}"; then
        fail "a result edit is empty before the wanted spot"
    fi

    enter_text "${M2EDIT[@]}" 5
    press Return
    wait_until 20 "the \"Problem\" box" find_problem_box
    focus_window "$PROBLEM_BOX"
    # A key that reaches the box before it is ready is lost; pressing again
    # is safe only while the box is still there.
    local _
    for _ in 1 2 3; do
        find_problem_box || break
        press Return
        local deadline=$((SECONDS + 5))
        while ((SECONDS < deadline)) && find_problem_box; do sleep 0.1; done
    done
    wait_until 20 "the \"Problem\" box to close" has_no_other_window

    # The box is closed and the window answers again: both result edits
    # were emptied.
    snap
    edit_empty "${M2EDIT_BOX[@]}" || fail "M2Edit still shows a value"
    edit_empty "${A2EDIT_BOX[@]}" || fail "A2Edit still shows a value"
    close_program 20
    expect_bytes "User.ini" "$home/.config/TAVREL/Lunavue/User.ini" \
        $'[OpticCalc]\r\nSprache=English\r\nBasicM90=10\r\nBasicA=500\r\nBasicApertur=30\r\n'
}

PLANNER=""
find_planner() {
    kill -0 "$APP_PID" 2>/dev/null || fail "the program ended early"
    PLANNER=$(xdotool search --all --onlyvisible --pid "$APP_PID" --name '^Target planner$' \
        2>/dev/null | head -n1) || true
    [[ -n $PLANNER ]]
}

# The planner's save dialog: a third window of the program.
find_planner_dialog() {
    SAVE_DIALOG=$({ xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null || true; } |
        grep -vx -e "$WIN" -e "$PLANNER" | head -n1) || true
    [[ -n $SAVE_DIALOG ]] || return 1
    geometry "$SAVE_DIALOG"
    ((GEO_W >= 300))
}
no_planner_dialog() { ! find_planner_dialog; }

planner_export() {
    step "4. the target planner's comparison as CSV"
    local home="$WORK/planner" csv=""
    local exports=${E2E_PLANNER_EXPORTS:-1} n
    start_program "$home" C.UTF-8
    click "${MEDIT[@]}"
    type_text 10
    click "${AEDIT[@]}"
    type_text 500
    click "${DEDIT[@]}"
    type_text 30
    press Return
    press ctrl+t
    wait_until 20 "the planner window" find_planner
    focus_window "$PLANNER"
    # The optics table has the focus with row 1 current: Add, Duplicate and
    # the three file buttons are enabled, Remove and Colour not, so six tabs
    # reach the target.
    press Tab Tab Tab Tab Tab Tab
    type_text 20
    press Tab
    type_text 450
    # Margin, tilt, unit, the comparison, then the export button.
    press Tab Tab Tab Tab Tab
    # A new name each time: replacing a file would ask first.
    for ((n = 1; n <= exports; n++)); do
        csv="$home/comparison-$n.csv"
        press space
        wait_until 20 "the planner's save dialog (export $n)" find_planner_dialog
        focus_window "$SAVE_DIALOG"
        press ctrl+a
        type_text "$csv"
        press Return
        wait_until 20 "the planner's save dialog to close (export $n)" no_planner_dialog
        wait_until 10 "the CSV file (export $n)" test -s "$csv"
        cmp -s "$csv" "$home/comparison-1.csv" || fail "export $n differs from the first"
        focus_window "$PLANNER"
    done
    close_program 20
    expect_bytes "planner CSV file" "$csv" \
        "Target diameter [mm];20"$'\r\n'"Working distance [mm];450"$'\r\n'"Margin;1.5"$'\r\n'"Tilt ["$'\xb0'"];0"$'\r\n'"Unit;mm"$'\r\n\r\n'"Optics;Spot [mm];On surface [mm];D:S;D:S focus;D:S far field;Fits;Figure;Range from [mm];Range to [mm];Best"$'\r\n'"Calculator;12.0;12.0;37.5;50.0;12.5;yes;1.11;416.7;541.6;best"$'\r\n'
    grep -q $'^\[TargetPlanner\]\r$' "$home/.config/TAVREL/Lunavue/User.ini" ||
        fail "User.ini has no planner section"
}

DATA_SHEET=""
find_data_sheet() {
    DATA_SHEET=$(xdotool search --all --onlyvisible --pid "$APP_PID" \
        --name '^Optics from a data sheet$' 2>/dev/null | head -n1) || true
    [[ -n $DATA_SHEET ]]
}
no_data_sheet() { ! find_data_sheet; }

planner_data_sheet() {
    step "5. optics from a data sheet, and the optics list as a file"
    local home="$WORK/datasheet" file="$WORK/datasheet/optics.csv"
    start_program "$home" C.UTF-8
    # The window takes the keys once clicked; there is no window manager.
    click "${MEDIT[@]}"
    press ctrl+t
    wait_until 20 "the planner window" find_planner
    focus_window "$PLANNER"
    # Add, Duplicate, then "From data sheet ...".
    press Tab Tab Tab space
    wait_until 20 "the data-sheet dialog" find_data_sheet
    focus_window "$DATA_SHEET"
    # The focus distance takes the keys first; then the two ratios, past
    # the far-field ratio's distance, left empty, and the chart to the
    # name; Return adds.
    type_text 500
    press Tab
    type_text 50
    press Tab
    type_text 12.5
    press Tab Tab Tab ctrl+a
    type_text "Sheet lens"
    press Return
    wait_until 20 "the data-sheet dialog to close" no_data_sheet
    focus_window "$PLANNER"
    # A five-point chart as a data sheet prints it, blanks between the
    # columns and units in the cells, pasted into the diagram's table.
    # The new row is current in the table: Add, Duplicate, Remove and
    # Colour lie before the data sheet.
    printf 'Distance (mm)   Spot (mm)\n100 mm   26 mm\n250   20\n500   10\n700   26\n1 m   50 mm\n' |
        xclip -selection clipboard
    press Tab Tab Tab Tab Tab space
    wait_until 20 "the data-sheet dialog for the chart" find_data_sheet
    focus_window "$DATA_SHEET"
    # Back from the focus distance past the unit to the diagram's form;
    # its table follows the unit.
    press shift+Tab shift+Tab space Tab Tab ctrl+v
    # The table passes Return on to the dialog: Add, with the name offered.
    press Return
    wait_until 20 "the data-sheet dialog to close after the chart" no_data_sheet
    focus_window "$PLANNER"
    # Add, Duplicate, Remove, Colour, the data sheet and Import lie before
    # "Export ...".
    press Tab Tab Tab Tab Tab Tab Tab space
    wait_until 20 "the planner's save dialog" find_planner_dialog
    focus_window "$SAVE_DIALOG"
    press ctrl+a
    type_text "$file"
    press Return
    wait_until 20 "the planner's save dialog to close" no_planner_dialog
    wait_until 10 "the optics file" test -s "$file"
    close_program 20
    expect_bytes "optics file" "$file" \
        "Name;M90 [mm];a [mm];D [mm];Colour"$'\r\n'"Sheet lens;10;500;30;#1F77B4"$'\r\n'"Optics 3;10;500;30;#2CA02C"$'\r\n'
}

start_x_server
typical_use_german
language_switch
invalid_wanted_spot
planner_export
planner_data_sheet
step "all scenarios passed"
