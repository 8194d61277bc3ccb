#!/usr/bin/env python3
"""Prints, on the X server's own clock, when keys go down and when programs
draw into their windows, until it is ended: a line per event.

    tools/server_clock.py

    key TIME KEYCODE             a key went down on any keyboard
    drawn TIME X Y WIDTH HEIGHT  a program drew into its top-level window
                                 there, in the screen's coordinates

TIME is the server's time stamp in milliseconds, the one it puts on the key
event itself and on the damage report of the drawing: the moment the server
has the picture, whether a compositor then shows it or not. Drawing that the
server does itself (a window's background, the root's when a window goes)
is left out, and so is drawing into a window that lies off every screen.
Needs the XInput 2 and DAMAGE extensions (Xvfb has both); talks to the
display DISPLAY names through Xlib, with no module beyond Python's own."""

import ctypes
import ctypes.util
import sys


def library(name):
    path = ctypes.util.find_library(name)
    if not path:
        sys.exit(f"lib{name} is not installed")
    return ctypes.CDLL(path)


xlib = library("X11")
xi = library("Xi")
damage = library("Xdamage")

Display = ctypes.c_void_p
Window = ctypes.c_ulong
GenericEvent = 35
XI_RawKeyPress = 13
XIAllMasterDevices = 1
XDamageReportRawRectangles = 0
CreateNotify = 16
SubstructureNotifyMask = 1 << 19


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("pad", ctypes.c_long * 24)]


class XGenericEventCookie(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", Display), ("extension", ctypes.c_int), ("evtype", ctypes.c_int),
                ("cookie", ctypes.c_uint), ("data", ctypes.c_void_p)]


class XIRawEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", Display), ("extension", ctypes.c_int), ("evtype", ctypes.c_int),
                ("time", ctypes.c_ulong), ("deviceid", ctypes.c_int), ("sourceid", ctypes.c_int),
                ("detail", ctypes.c_int), ("flags", ctypes.c_int)]


class XRectangle(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("width", ctypes.c_ushort),
                ("height", ctypes.c_ushort)]


class XDamageNotifyEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", Display), ("drawable", ctypes.c_ulong), ("damage", ctypes.c_ulong),
                ("level", ctypes.c_int), ("more", ctypes.c_int), ("timestamp", ctypes.c_ulong),
                ("area", XRectangle), ("geometry", XRectangle)]


class XCreateWindowEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", Display), ("parent", Window), ("window", Window)]


class XIEventMask(ctypes.Structure):
    _fields_ = [("deviceid", ctypes.c_int), ("mask_len", ctypes.c_int), ("mask", ctypes.POINTER(ctypes.c_ubyte))]


xlib.XOpenDisplay.restype = Display
xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
xlib.XDefaultRootWindow.restype = Window
xlib.XDefaultRootWindow.argtypes = [Display]
xlib.XQueryExtension.argtypes = [Display, ctypes.c_char_p] + [ctypes.POINTER(ctypes.c_int)] * 3
xlib.XNextEvent.argtypes = [Display, ctypes.POINTER(XEvent)]
xlib.XGetEventData.argtypes = [Display, ctypes.POINTER(XGenericEventCookie)]
xlib.XFreeEventData.argtypes = [Display, ctypes.POINTER(XGenericEventCookie)]
xlib.XSync.argtypes = [Display, ctypes.c_int]
xlib.XSelectInput.argtypes = [Display, Window, ctypes.c_long]
xlib.XQueryTree.argtypes = [Display, Window, ctypes.POINTER(Window), ctypes.POINTER(Window),
                            ctypes.POINTER(ctypes.POINTER(Window)), ctypes.POINTER(ctypes.c_uint)]
xlib.XFree.argtypes = [ctypes.c_void_p]
ErrorHandler = ctypes.CFUNCTYPE(ctypes.c_int, Display, ctypes.c_void_p)
xlib.XSetErrorHandler.argtypes = [ErrorHandler]
xi.XIQueryVersion.argtypes = [Display, ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int)]
xi.XISelectEvents.argtypes = [Display, Window, ctypes.POINTER(XIEventMask), ctypes.c_int]
damage.XDamageQueryExtension.argtypes = [Display, ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int)]
damage.XDamageCreate.restype = ctypes.c_ulong
damage.XDamageCreate.argtypes = [Display, ctypes.c_ulong, ctypes.c_int]


# A window may be gone by the time its damage is asked for: that is no error here.
ignore_errors = ErrorHandler(lambda display, error: 0)


def top_level_windows(display, root):
    parent, children, count = Window(), ctypes.POINTER(Window)(), ctypes.c_uint()
    if not xlib.XQueryTree(display, root, ctypes.byref(Window()), ctypes.byref(parent), ctypes.byref(children),
                           ctypes.byref(count)):
        return []
    windows = [children[i] for i in range(count.value)]
    if children:
        xlib.XFree(children)
    return windows


def main():
    display = xlib.XOpenDisplay(None)
    if not display:
        sys.exit("cannot open the display")
    root = xlib.XDefaultRootWindow(display)
    xlib.XSetErrorHandler(ignore_errors)

    opcode, first_event, first_error = ctypes.c_int(), ctypes.c_int(), ctypes.c_int()
    major, minor = ctypes.c_int(2), ctypes.c_int(2)
    if (not xlib.XQueryExtension(display, b"XInputExtension", ctypes.byref(opcode), ctypes.byref(first_event),
                                 ctypes.byref(first_error))
            or xi.XIQueryVersion(display, ctypes.byref(major), ctypes.byref(minor)) != 0):
        sys.exit("the server lacks XInput 2")
    damage_event, damage_error = ctypes.c_int(), ctypes.c_int()
    if not damage.XDamageQueryExtension(display, ctypes.byref(damage_event), ctypes.byref(damage_error)):
        sys.exit("the server lacks DAMAGE")

    bits = (ctypes.c_ubyte * 4)()
    bits[XI_RawKeyPress >> 3] |= 1 << (XI_RawKeyPress & 7)
    mask = XIEventMask(XIAllMasterDevices, len(bits), bits)
    xi.XISelectEvents(display, root, ctypes.byref(mask), 1)
    # Each top-level window's own damage: what its program drew into it. A
    # window made later is watched from its making on, before it can draw.
    xlib.XSelectInput(display, root, SubstructureNotifyMask)
    for window in top_level_windows(display, root):
        damage.XDamageCreate(display, window, XDamageReportRawRectangles)
    xlib.XSync(display, 0)
    print("watching", flush=True)

    event = XEvent()
    while True:
        xlib.XNextEvent(display, ctypes.byref(event))
        if event.type == damage_event.value:
            drawn = ctypes.cast(ctypes.byref(event), ctypes.POINTER(XDamageNotifyEvent)).contents
            a, at = drawn.area, drawn.geometry
            print(f"drawn {drawn.timestamp} {at.x + a.x} {at.y + a.y} {a.width} {a.height}", flush=True)
        elif event.type == CreateNotify:
            made = ctypes.cast(ctypes.byref(event), ctypes.POINTER(XCreateWindowEvent)).contents
            if made.parent == root:
                damage.XDamageCreate(display, made.window, XDamageReportRawRectangles)
        elif event.type == GenericEvent:
            cookie = ctypes.cast(ctypes.byref(event), ctypes.POINTER(XGenericEventCookie)).contents
            if cookie.extension == opcode.value and xlib.XGetEventData(display, ctypes.byref(cookie)):
                if cookie.evtype == XI_RawKeyPress:
                    raw = ctypes.cast(cookie.data, ctypes.POINTER(XIRawEvent)).contents
                    print(f"key {raw.time} {raw.detail}", flush=True)
                xlib.XFreeEventData(display, ctypes.byref(cookie))


if __name__ == "__main__":
    try:
        main()
    except (KeyboardInterrupt, BrokenPipeError):
        pass
