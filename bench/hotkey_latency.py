#!/usr/bin/env python3
"""By hand: the time from Ctrl+Alt+Z to the result painted in the book, as the X server holds
it. Presses the key through XTEST, then reads the book's result box back from the server
(XGetImage) until its pixels change. Run with the book on screen, a word selected that
changes what the box shows, and DISPLAY set; prints the milliseconds to
the first change of the box and to its last within a second.
Usage: hotkey_latency.py X Y (the book's top-left corner on the screen, as xdotool
getwindowgeometry gives it)
"""
import ctypes
import ctypes.util
import sys
import time

x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
xtst = ctypes.cdll.LoadLibrary(ctypes.util.find_library("Xtst"))
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XKeysymToKeycode.restype = ctypes.c_ubyte
x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x11.XGetImage.restype = ctypes.c_void_p
x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                          ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
x11.XFree.argtypes = [ctypes.c_void_p]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]


class XImage(ctypes.Structure):  # the leading fields, as Xlib.h lays them out
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int),
                ("bitmap_pad", ctypes.c_int), ("depth", ctypes.c_int),
                ("bytes_per_line", ctypes.c_int)]


display = x11.XOpenDisplay(None)
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
root = x11.XDefaultRootWindow(display)
# The result page's top, read from the screen: the book is shaped, and an image of a shaped
# window's own may not reach past its outline.
RESULT_BOX = (int(sys.argv[1]) + 240, int(sys.argv[2]) + 60, 100, 100)


def result_pixels():
    image = x11.XGetImage(display, root, *RESULT_BOX, 0xFFFFFFFF, 2)  # ZPixmap
    fields = XImage.from_address(image)
    data = ctypes.string_at(fields.data, fields.bytes_per_line * fields.height)
    x11.XFree(fields.data)
    x11.XFree(image)
    return data


before = result_pixels()
keys = [x11.XKeysymToKeycode(display, k) for k in (0xFFE3, 0xFFE9, 0x7A)]  # Ctrl, Alt, z
start = time.monotonic()
for k in keys:
    xtst.XTestFakeKeyEvent(display, k, 1, 0)
for k in reversed(keys):
    xtst.XTestFakeKeyEvent(display, k, 0, 0)
x11.XSync(display, 0)
# The first change, and the last one within a second of the key: a box painted in steps
# shows as two different figures.
first = last = None
shown = before
while time.monotonic() - start < 1.0:
    now = result_pixels()
    if now != shown:
        last = time.monotonic() - start
        first = first if first is not None else last
        shown = now
if first is None:
    sys.exit("the result box did not change within a second")
print(f"{first * 1000:.1f} {last * 1000:.1f}")
