#!/usr/bin/python3
"""A keyboard plugged into KWin for a moment: a Wayland client of its own
that binds org_kde_kwin_fake_input (KWin makes each binding a keyboard of
its own, gone with the client), presses and releases keys on it, and goes.
KWin must run with KWIN_WAYLAND_NO_PERMISSION_CHECKS=1, as the test's does.
The client speaks the wire protocol itself: libwayland's scanner and the
protocol's XML are not needed for three requests.
With --pointer, the pointer goes to X Y on the screen first.
usage: kwin_keyboard.py [--pointer X Y] [--wait SECONDS] KEY...   (KEY an evdev key code)"""
import os
import socket
import struct
import sys
import time

FAKE_INPUT = "org_kde_kwin_fake_input"
# Request numbers, in the order fake-input.xml declares them (version 4).
AUTHENTICATE, POINTER_MOTION_ABSOLUTE, KEYBOARD_KEY = 0, 9, 10


def string(text):
    data = text.encode() + b"\0"
    return struct.pack("=I", len(data)) + data + b"\0" * (-len(data) % 4)


class Connection:
    def __init__(self):
        path = os.path.join(os.environ["XDG_RUNTIME_DIR"], os.environ["WAYLAND_DISPLAY"])
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.connect(path)
        self.buffer = b""
        self.next_id = 2

    def new_id(self):
        self.next_id += 1
        return self.next_id - 1

    def send(self, obj, opcode, payload=b""):
        self.sock.sendall(struct.pack("=II", obj, (8 + len(payload)) << 16 | opcode) + payload)

    def events(self):
        while True:
            while len(self.buffer) >= 8:
                obj, word = struct.unpack_from("=II", self.buffer)
                size = word >> 16
                if len(self.buffer) < size:
                    break
                payload, self.buffer = self.buffer[8:size], self.buffer[size:]
                yield obj, word & 0xFFFF, payload
            data = self.sock.recv(1 << 16)
            if not data:
                sys.exit("kwin_keyboard: KWin closed the connection")
            self.buffer += data

    def roundtrip(self, on_event=lambda obj, opcode, payload: None):
        callback = self.new_id()
        self.send(1, 0, struct.pack("=I", callback))  # wl_display.sync
        for obj, opcode, payload in self.events():
            if obj == 1 and opcode == 0:  # wl_display.error
                _, code = struct.unpack_from("=II", payload)
                sys.exit(f"kwin_keyboard: protocol error {code}")
            if obj == callback:
                return
            on_event(obj, opcode, payload)


def main():
    args = sys.argv[1:]
    wait, pointer = 0.0, None
    if args[:1] == ["--pointer"] and len(args) >= 3 and args[1].isdigit() and args[2].isdigit():
        pointer, args = (int(args[1]), int(args[2])), args[3:]
    if args[:1] == ["--wait"]:
        wait, args = float(args[1]), args[2:]
    if not (args or pointer) or not all(a.isdigit() for a in args):
        sys.exit("usage: kwin_keyboard.py [--pointer X Y] [--wait SECONDS] KEY...")
    wl = Connection()
    registry = wl.new_id()
    wl.send(1, 1, struct.pack("=I", registry))  # wl_display.get_registry
    found = []

    def on_global(obj, opcode, payload):
        if obj == registry and opcode == 0:
            name, length = struct.unpack_from("=II", payload)
            interface = payload[8:8 + length - 1].decode()
            version = struct.unpack_from("=I", payload, 8 + length + (-length % 4))[0]
            if interface == FAKE_INPUT:
                found.append((name, version))

    wl.roundtrip(on_global)
    if not found or found[0][1] < 4:
        sys.exit(f"kwin_keyboard: KWin offers no {FAKE_INPUT} version 4 (found {found})")
    fake = wl.new_id()
    wl.send(registry, 0, struct.pack("=I", found[0][0]) + string(FAKE_INPUT) + struct.pack("=II", 4, fake))
    wl.send(fake, AUTHENTICATE, string("vorblox-tests") + string("keys for the game's tests"))
    wl.roundtrip()
    if pointer:
        # wl_fixed: 24.8 fixed point.
        wl.send(fake, POINTER_MOTION_ABSOLUTE, struct.pack("=ii", pointer[0] * 256, pointer[1] * 256))
        wl.roundtrip()
    # The keyboard is there now; the game's window may need a moment to
    # hear of it before its keys come.
    time.sleep(wait)
    for key in args:
        wl.send(fake, KEYBOARD_KEY, struct.pack("=II", int(key), 1))
        wl.roundtrip()
        time.sleep(0.15)
        wl.send(fake, KEYBOARD_KEY, struct.pack("=II", int(key), 0))
        wl.roundtrip()
        time.sleep(0.1)
    wl.sock.close()


if __name__ == "__main__":
    main()
