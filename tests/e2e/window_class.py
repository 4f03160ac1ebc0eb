#!/usr/bin/env python3
"""Prints an X11 window's WM_CLASS as "instance class", exactly as set.

Docks match a window to its desktop entry by the class (StartupWMClass), and
xdotool's class search ignores letter case, so it cannot tell "opticcalc"
from "OpticCalc". Needs only libX11.

Usage: window_class.py WINDOW_ID   (decimal or 0x-hex; DISPLAY from the environment)
"""
import ctypes
import sys

import x11 as x11_window


class XClassHint(ctypes.Structure):
    _fields_ = [("res_name", ctypes.c_char_p), ("res_class", ctypes.c_char_p)]


def main() -> int:
    x11, display, window = x11_window.open_window(__doc__.strip().splitlines()[-1])
    x11.XGetClassHint.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(XClassHint)]
    hint = XClassHint()
    found = x11.XGetClassHint(display, window, ctypes.byref(hint))
    x11.XCloseDisplay(display)
    if not found:
        print("window_class.py: the window has no WM_CLASS", file=sys.stderr)
        return 1
    print(hint.res_name.decode(errors="replace"), hint.res_class.decode(errors="replace"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
