#!/usr/bin/env bash
# Builds the Debian package in Release (build-pkg/), checks it with lintian
# (errors fail, the rest is shown), validates the desktop entry and the
# AppStream metadata, installs it, starts the program the way the desktop menu
# does and removes it again, checking that nothing is left behind. Needs root
# or sudo. The package is never left installed, also when a check fails, so
# the script can run again.
set -euo pipefail
cd "$(dirname "$0")/.."

build="build-pkg"
package=opticcalc
appdir=/usr/lib/opticcalc
app_id=example.tavrel.OpticCalc
desktop=/usr/share/applications/$app_id.desktop
metainfo=/usr/share/metainfo/$app_id.metainfo.xml
icon_sizes=(48 64 128 256)
icon() { echo "/usr/share/icons/hicolor/${1}x${1}/apps/opticcalc.png"; }
manpage=/usr/share/man/man1/opticcalc.1.gz
docdir=/usr/share/doc/opticcalc
installed_paths=("$appdir/OpticCalc" "$appdir/Lang.ini" /usr/bin/opticcalc
    "$desktop" "$metainfo" "$manpage" "$docdir" "$appdir")
for size in "${icon_sizes[@]}"; do installed_paths+=("$(icon "$size")"); done

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

fail() {
    echo "package-check: FAIL: $*" >&2
    exit 1
}

# dpkg's status word, "not-installed" also when dpkg never heard of it.
package_status() {
    local status
    status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null) || true
    echo "${status:-not-installed}"
}

work=$(mktemp -d)
cleanup() {
    local rc=$?
    if [ "$(package_status)" != not-installed ]; then
        echo "package-check: removing $package"
        $sudo dpkg --purge "$package" >/dev/null || true
    fi
    rm -rf "$work"
    ((rc == 0)) || echo "package-check: failed" >&2
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# What building the package and the checks need beyond the build itself.
bash scripts/setup.sh dpkg-dev desktop-file-utils appstream lintian xvfb xauth xdotool

if [ "$(package_status)" != not-installed ]; then
    echo "package-check: $package is installed; removing it first"
    $sudo dpkg --purge "$package" >/dev/null
fi

echo "== build the package"
version=$(sed -n 's/^project(OpticCalc VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || fail "no version in CMakeLists.txt"
# Warnings do not stop the package; the ci preset is where they are errors.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DOPTICCALC_WERROR=OFF \
    -DOPTICCALC_BUILD_TESTS=OFF >/dev/null
cmake --build "$build"
rm -f "$build"/*.deb
cpack --config "$build/CPackConfig.cmake" -B "$build" >/dev/null
deb=$(realpath "$build/${package}_${version}_$(dpkg --print-architecture).deb")
[ -f "$deb" ] || fail "cpack made no $deb"

echo "== check $(basename "$deb")"
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = "$package" ] || fail "package name $(field Package)"
[ "$(field Version)" = "$version" ] || fail "version $(field Version), not $version"
[ "$(field Section)" = science ] || fail "section $(field Section)"
[ "$(field Maintainer)" = "TAVREL GmbH <info@tavrel.example>" ] ||
    fail "maintainer $(field Maintainer)"
depends=$(field Depends)
for d in fonts-liberation qt6-translations-l10n libqt6widgets6 libqt6printsupport6; do
    [[ ", $depends," == *", $d "* || ", $depends," == *", $d,"* ]] ||
        fail "Depends lacks $d: $depends"
done
[[ ", $(field Recommends)," == *", xdg-utils"[\ ,]* ]] ||
    fail "Recommends lacks xdg-utils: $(field Recommends)"
# Exactly these files, so nothing stray (tests, tools) slips into the package.
expected="./usr/bin/opticcalc -> ../lib/opticcalc/OpticCalc
./usr/lib/opticcalc/Lang.ini
./usr/lib/opticcalc/OpticCalc
./usr/share/applications/$app_id.desktop
./usr/share/doc/opticcalc/changelog.gz
./usr/share/doc/opticcalc/copyright
./usr/share/icons/hicolor/128x128/apps/opticcalc.png
./usr/share/icons/hicolor/256x256/apps/opticcalc.png
./usr/share/icons/hicolor/48x48/apps/opticcalc.png
./usr/share/icons/hicolor/64x64/apps/opticcalc.png
./usr/share/man/man1/opticcalc.1.gz
./usr/share/metainfo/$app_id.metainfo.xml"
actual=$(dpkg-deb -c "$deb" | grep -v '^d' | awk '{ $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print }' | sort)
[ "$actual" = "$expected" ] || fail "package contents differ:
$actual"
# Read from the package: some images keep dpkg from installing manual pages.
dpkg-deb --fsys-tarfile "$deb" | tar -xOf - ".$manpage" | gzip -dc | grep '^\.SH NAME' >/dev/null ||
    fail "$manpage is not a manual page"

echo "== lintian"
# Errors fail the check; warnings and notes are shown for the record. Lintian
# warns when run as root, which CI is.
lintian_log=$(lintian --fail-on error --display-info --pedantic --display-experimental "$deb" 2>&1) ||
    fail "lintian reports errors:
$lintian_log"
grep -v 'running with root privileges' <<<"$lintian_log" || true

echo "== validate the desktop entry and the AppStream metadata"
mkdir -p "$work/deb"
dpkg-deb -x "$deb" "$work/deb"
desktop-file-validate "$work/deb$desktop" || fail "$desktop is not valid"
appstreamcli validate --no-net "$work/deb$metainfo" || fail "$metainfo is not valid"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$work/deb$metainfo" ||
    fail "$metainfo does not launch $app_id.desktop"
grep -q "<release version=\"$version\"" "$work/deb$metainfo" ||
    fail "$metainfo does not name release $version"

echo "== install"
# Without the recommended packages: they would stay after the removal.
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$deb" >/dev/null
[ "$(package_status)" = installed ] || fail "dpkg status $(package_status) after install"
[ -x "$appdir/OpticCalc" ] || fail "$appdir/OpticCalc missing"
[ -f "$appdir/Lang.ini" ] || fail "$appdir/Lang.ini missing"
[ "$(readlink -f /usr/bin/opticcalc)" = "$appdir/OpticCalc" ] ||
    fail "/usr/bin/opticcalc does not lead to $appdir/OpticCalc"
[ "$(PATH=/usr/bin:/bin command -v opticcalc)" = /usr/bin/opticcalc ] ||
    fail "opticcalc is not on the PATH"
for size in "${icon_sizes[@]}"; do
    file=$(icon "$size")
    [ -f "$file" ] || fail "$file missing"
    # Width and height are the big-endian words at bytes 16..23 of a PNG.
    [ "$(od -An -tu4 --endian=big -j16 -N8 "$file" | xargs)" = "$size $size" ] ||
        fail "$file is not ${size}x$size"
done
# The command line answers without any display, as on a text terminal.
answer=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM opticcalc --version) ||
    fail "opticcalc --version failed"
[ "$answer" = "OpticCalc $version" ] || fail "opticcalc --version printed '$answer'"

echo "== start it as the desktop menu does"
# The Exec line without its field codes, run from an unrelated folder with a
# fresh settings folder and a plain PATH, as a session's launcher would.
exec_line=$(sed -n 's/^Exec=//p' "$desktop" | head -n 1 | sed 's/ *%[fFuUdDnNickvm]//g')
[ -n "$exec_line" ] || fail "$desktop has no Exec line"
# The window's caption starts with this text of the installed Lang.ini, which
# shows that the program found Lang.ini beside its real executable.
caption=$(tr -d '\r' <"$appdir/Lang.ini" |
    awk -F= '/^\[/ { english = ($0 == "[English]") } english && $1 == "OptischerRechner" { print $2 }')
[ -n "$caption" ] || fail "no English caption in $appdir/Lang.ini"
mkdir -p "$work/home" "$work/cwd"
cat >"$work/launch.sh" <<'EOF'
# Runs inside xvfb-run: start, wait for the window, let it run, then SIGTERM.
cd "$WORK/cwd"
sh -c "exec $EXEC_LINE" &
pid=$!
trap 'kill $pid 2>/dev/null' EXIT
window=$(timeout 30 xdotool search --sync --onlyvisible --pid "$pid" | head -n 1) || true
[ -n "$window" ] || { echo "no window appeared"; exit 1; }
echo "window: $(xdotool getwindowname "$window")"
echo "class: $(python3 "$CLASS_PY" "$window" | cut -d' ' -f2)"
sleep 2
kill -0 "$pid" 2>/dev/null || { echo "the program ended by itself"; exit 1; }
kill -TERM "$pid"
rc=0
wait "$pid" || rc=$?
[ "$rc" -eq 143 ] || { echo "exit status $rc after SIGTERM"; exit 1; }
EOF
launch_log=$(env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$work/home" \
    XDG_CONFIG_HOME="$work/home/.config" LC_ALL=C.UTF-8 \
    WORK="$work" EXEC_LINE="$exec_line" CLASS_PY="$PWD/tests/e2e/window_class.py" \
    xvfb-run -a bash "$work/launch.sh" 2>&1) || fail "start from the menu:
$launch_log"
window=$(grep '^window: ' <<<"$launch_log") || true
echo "$window"
[[ $window == "window: $caption"* ]] ||
    fail "the window's caption does not come from Lang.ini:
$launch_log"
# Docks match the window to the menu entry by its class.
grep '^class: ' <<<"$launch_log" || true
wm_class=$(sed -n 's/^StartupWMClass=//p' "$desktop")
grep -qx "class: $wm_class" <<<"$launch_log" ||
    fail "the window's class is not the entry's StartupWMClass $wm_class:
$launch_log"

echo "== remove"
$sudo dpkg -r "$package" >/dev/null
[ "$(package_status)" = not-installed ] || fail "dpkg status $(package_status) after removal"
for p in "${installed_paths[@]}"; do
    if [ -e "$p" ] || [ -L "$p" ]; then fail "$p is left behind"; fi
done
[ -z "$(PATH=/usr/bin:/bin command -v opticcalc)" ] || fail "opticcalc still on the PATH"

echo "package-check: OK ($(basename "$deb"))"
