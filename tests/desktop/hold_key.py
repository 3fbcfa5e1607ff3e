#!/usr/bin/env python3
"""Another X11 program that holds Ctrl+Alt+Z: grabs it on the root window, says "holding",
and keeps it until it is ended. Plain libX11 through ctypes, so it needs nothing installed.
Usage: hold_key.py
"""
import ctypes
import ctypes.util
import signal
import sys

CONTROL_MASK = 1 << 2
MOD1_MASK = 1 << 3  # Alt on every keyboard map X ships
GRAB_MODE_ASYNC = 1
XK_Z = 0x7A

x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XKeysymToKeycode.restype = ctypes.c_ubyte
x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x11.XGrabKey.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_uint, ctypes.c_ulong,
                         ctypes.c_int, ctypes.c_int, ctypes.c_int]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]

display = x11.XOpenDisplay(None)
if not display:
    sys.exit("no X display")
keycode = x11.XKeysymToKeycode(display, XK_Z)
# Without any lock key: the one combination a user presses most.
x11.XGrabKey(display, keycode, CONTROL_MASK | MOD1_MASK, x11.XDefaultRootWindow(display), 0,
             GRAB_MODE_ASYNC, GRAB_MODE_ASYNC)
x11.XSync(display, 0)  # a refusal would end us here, through Xlib's error handler
print("holding", flush=True)
signal.pause()
