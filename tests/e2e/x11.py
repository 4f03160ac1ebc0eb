"""The part the e2e window scripts share: their one argument, a window id
(decimal or 0x-hex), and libX11 opened on DISPLAY through ctypes, so they
need nothing that xdotool does not already bring in."""
import ctypes
import ctypes.util
import os
import sys


def open_window(usage: str):
    """Returns (libX11, display, window); exits 2 on a wrong call, 1 without a display."""
    name = os.path.basename(sys.argv[0])
    if len(sys.argv) != 2:
        print(usage, file=sys.stderr)
        sys.exit(2)
    window = int(sys.argv[1], 0)
    x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(None)
    if not display:
        print(f"{name}: cannot open the display", file=sys.stderr)
        sys.exit(1)
    return x11, display, window
