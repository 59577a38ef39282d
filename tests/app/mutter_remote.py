#!/usr/bin/python3
# mutter's remote desktop for the mutter window test: a screenshot through a
# screen cast of the monitor, or keys through a remote-desktop session. Each
# call is a session of its own, so each key call plugs a virtual keyboard in
# and takes it away again when it ends.
#   mutter_remote.py shot FILE.png
#   mutter_remote.py keys [--wait SECONDS] KEY[+KEY...]...
#   mutter_remote.py frame SHOT.ppm X Y TITLE
# frame: the game's picture at X Y (300 x 400 at scale 1) sits in a window
# of just that size, its title bar TITLE pixels tall right above it with a
# close button at its right end, all of it on the screen.
# A key chord (Super_L+Up) is pressed left to right and let go right to left.
import subprocess
import sys

import dbus
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

KEYSYMS = {"Super_L": 0xffeb, "Up": 0xff52, "Down": 0xff54, "Left": 0xff51, "Right": 0xff53,
           "F1": 0xffbe, "F11": 0xffc8, "Escape": 0xff1b, "Return": 0xff0d}


def fail(message):
    print(f"mutter_remote: {message}", file=sys.stderr)
    sys.exit(1)


def shot(bus, path):
    cast = dbus.Interface(bus.get_object("org.gnome.Mutter.ScreenCast", "/org/gnome/Mutter/ScreenCast"),
                          "org.gnome.Mutter.ScreenCast")
    session_path = cast.CreateSession(dbus.Dictionary({}, signature="sv"))
    session = dbus.Interface(bus.get_object("org.gnome.Mutter.ScreenCast", session_path),
                             "org.gnome.Mutter.ScreenCast.Session")
    # No pointer in the picture: it would cover the game's pixels.
    stream_path = session.RecordMonitor("", dbus.Dictionary({"cursor-mode": dbus.UInt32(0)}, signature="sv"))
    stream = bus.get_object("org.gnome.Mutter.ScreenCast", stream_path)
    loop = GLib.MainLoop()
    node = []

    def added(node_id):
        node.append(int(node_id))
        loop.quit()

    stream.connect_to_signal("PipeWireStreamAdded", added, dbus_interface="org.gnome.Mutter.ScreenCast.Stream")
    session.Start()
    GLib.timeout_add_seconds(10, loop.quit)
    loop.run()
    if not node:
        fail("the screen cast gave no PipeWire stream")
    try:
        subprocess.run(["gst-launch-1.0", "-q", "pipewiresrc", f"path={node[0]}", "num-buffers=1", "!",
                        "videoconvert", "!", "pngenc", "!", "filesink", f"location={path}"],
                       check=True, timeout=20, stdout=subprocess.DEVNULL)
    except (subprocess.CalledProcessError, subprocess.TimeoutExpired) as error:
        fail(f"no picture from PipeWire node {node[0]}: {error}")
    finally:
        session.Stop()


def keys(bus, args):
    wait = 0.0
    if args[:1] == ["--wait"]:
        wait, args = float(args[1]), args[2:]
    chords = [chord.split("+") for chord in args]
    for chord in chords:
        for key in chord:
            if key not in KEYSYMS:
                fail(f"unknown key {key}")
    remote = dbus.Interface(bus.get_object("org.gnome.Mutter.RemoteDesktop", "/org/gnome/Mutter/RemoteDesktop"),
                            "org.gnome.Mutter.RemoteDesktop")
    session_path = remote.CreateSession()
    session = dbus.Interface(bus.get_object("org.gnome.Mutter.RemoteDesktop", session_path),
                             "org.gnome.Mutter.RemoteDesktop.Session")
    session.Start()
    loop = GLib.MainLoop()
    steps = [("sleep", wait)]
    for chord in chords:
        steps += [("key", KEYSYMS[key], True) for key in chord]
        steps.append(("sleep", 0.1))
        steps += [("key", KEYSYMS[key], False) for key in reversed(chord)]
        steps.append(("sleep", 0.2))

    def step():
        while steps:
            kind, *rest = steps.pop(0)
            if kind == "sleep":
                GLib.timeout_add(int(rest[0] * 1000), step)
                return False
            session.NotifyKeyboardKeysym(dbus.UInt32(rest[0]), rest[1])
        loop.quit()
        return False

    GLib.idle_add(step)
    loop.run()
    session.Stop()


def frame(path, x, y, title):
    with open(path, "rb") as file:
        magic, size, maximum, pixels = file.read().split(b"\n", 3)
    width, height = map(int, size.split())
    if magic != b"P6" or maximum != b"255":
        fail(f"{path} is not a binary PPM")

    def pixel(px, py):
        at = (py * width + px) * 3
        return tuple(pixels[at:at + 3])

    if x < 0 or y - title < 0 or x + 300 > width or y + 400 > height:
        fail(f"the window (picture at {x},{y}, title bar {title} tall) is not all on the {width}x{height} screen")
    # The game fills a window larger than its picture with black: black
    # straight beside the picture means the window is not 300 x 400.
    for px, py in ((x - 1, y + 200), (x + 300, y + 200), (x + 150, y + 400)):
        if 0 <= px < width and py < height and pixel(px, py) == (0, 0, 0):
            fail(f"black at {px},{py} beside the picture: the window is larger than 300 x 400")
    # The bar stands out from the desktop just beside it, at both ends and
    # from just under its rounded corners down to the picture.
    for py in (y - title + 8, y - 2):
        for px, beside in ((x, x - 1), (x + 299, x + 300)):
            if 0 <= beside < width and max(abs(a - b) for a, b in zip(pixel(px, py), pixel(beside, py))) < 30:
                fail(f"no title bar across the window's top at {px},{py}")
    # The close button: a glyph that stands out from the bar, at its right end.
    bar = pixel(x + 150, y - 2)
    glyph = [(px, py) for px in range(x + 270, x + 297) for py in range(y - title + 8, y - 2)
             if max(abs(a - b) for a, b in zip(pixel(px, py), bar)) > 120]
    print(f"title bar {title} tall at {x},{y - title}, close button at about {glyph[len(glyph) // 2]}")


def main():
    if len(sys.argv) >= 2 and sys.argv[1] == "frame" and len(sys.argv) == 6:
        frame(sys.argv[2], *map(int, sys.argv[3:]))
        return
    if len(sys.argv) < 3 or sys.argv[1] not in ("shot", "keys"):
        fail("usage: mutter_remote.py shot FILE.png | keys [--wait SECONDS] KEY[+KEY...]... | frame SHOT.ppm X Y TITLE")
    DBusGMainLoop(set_as_default=True)
    try:
        bus = dbus.SessionBus()
        if sys.argv[1] == "shot":
            shot(bus, sys.argv[2])
        else:
            keys(bus, sys.argv[2:])
    except dbus.exceptions.DBusException as error:
        fail(error.get_dbus_message() or str(error))


if __name__ == "__main__":
    main()
