# Sourced by the Windows scripts: the Qt for MinGW-w64 to build with and a
# Wine of its own for running what was built.
#
# OPTICCALC_WINDOWS_QT (or --qt DIR) names the Qt installation, the folder
# holding lib/cmake/Qt6/qt.toolchain.cmake. WINEPREFIX, when not set, is a
# fresh folder below build-windows/, so a run never touches ~/.wine.

windows_parse_qt_option() {
    while (($#)); do
        case $1 in
        --qt) OPTICCALC_WINDOWS_QT=$2; shift 2 ;;
        --qt=*) OPTICCALC_WINDOWS_QT=${1#--qt=}; shift ;;
        *) echo "unknown argument: $1 (use --qt DIR)" >&2; exit 2 ;;
        esac
    done
    if [[ -z ${OPTICCALC_WINDOWS_QT:-} ]]; then
        echo "Name the Qt for MinGW-w64: --qt DIR or OPTICCALC_WINDOWS_QT=DIR" >&2
        exit 2
    fi
    OPTICCALC_WINDOWS_QT=$(realpath "$OPTICCALC_WINDOWS_QT")
    if [[ ! -f $OPTICCALC_WINDOWS_QT/lib/cmake/Qt6/qt.toolchain.cmake ]]; then
        echo "$OPTICCALC_WINDOWS_QT holds no lib/cmake/Qt6/qt.toolchain.cmake" >&2
        exit 2
    fi
    export OPTICCALC_WINDOWS_QT
}

# The cross compiler, NSIS and Wine, with Wine's Tahoma and the Liberation
# fonts for the tests.
windows_setup() {
    bash scripts/setup.sh g++-mingw-w64-x86-64-posix qt6-base-dev-tools nsis \
        wine wine64 fonts-wine fonts-liberation xvfb xauth xdotool imagemagick
}

# A Wine prefix made once per build folder for the tests; the end-to-end
# run makes a fresh one of its own.
windows_wine_prefix() {
    export WINEDEBUG=-all
    export WINEPREFIX=${WINEPREFIX:-$PWD/build-windows/wine-prefix}
    if [[ ! -f $WINEPREFIX/system.reg ]]; then
        echo "Making the Wine prefix $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        wineboot --init >/dev/null 2>&1
        wineserver --wait
    fi
}
