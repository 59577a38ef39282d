#!/usr/bin/python3
"""The whole of KWin's workspace as a binary PPM, through org.kde.KWin.ScreenShot2
(KWin started with KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1, as the test does).
usage: kwin_screenshot.py OUT.ppm"""
import os
import sys
import threading

import dbus


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: kwin_screenshot.py OUT.ppm")
    bus = dbus.SessionBus()
    shots = dbus.Interface(bus.get_object("org.kde.KWin", "/org/kde/KWin/ScreenShot2"), "org.kde.KWin.ScreenShot2")
    read_end, write_end = os.pipe()
    data = bytearray()

    # KWin writes the pixels only after it answers: read them meanwhile, so a
    # full pipe never stalls it.
    def drain():
        with os.fdopen(read_end, "rb") as pipe:
            while chunk := pipe.read(1 << 16):
                data.extend(chunk)

    reader = threading.Thread(target=drain)
    reader.start()
    try:
        info = shots.CaptureWorkspace({"native-resolution": True}, dbus.types.UnixFd(write_end))
    finally:
        os.close(write_end)
    reader.join()
    width, height, stride = int(info["width"]), int(info["height"]), int(info["stride"])
    # QImage formats 4, 5 and 6 (RGB32, ARGB32, ARGB32 premultiplied) are
    # 32-bit words 0xAARRGGBB, in memory B G R A on this little-endian machine.
    if int(info["format"]) not in (4, 5, 6) or len(data) < stride * height:
        sys.exit(f"kwin_screenshot: unexpected picture {dict(info)}, {len(data)} bytes")
    rgb = bytearray(width * height * 3)
    for y in range(height):
        row = data[y * stride:y * stride + width * 4]
        out = rgb[y * width * 3:(y + 1) * width * 3]
        out[0::3], out[1::3], out[2::3] = row[2::4], row[1::4], row[0::4]
        rgb[y * width * 3:(y + 1) * width * 3] = out
    with open(sys.argv[1], "wb") as ppm:
        ppm.write(b"P6 %d %d 255\n" % (width, height) + rgb)


if __name__ == "__main__":
    main()
