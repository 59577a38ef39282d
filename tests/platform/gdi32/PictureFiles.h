// Small .bmp files made on the spot, with a distinct colour in every pixel.
#ifndef VORBLOX_TESTS_PICTURE_FILES_H
#define VORBLOX_TESTS_PICTURE_FILES_H

#include <windows.h>

#include <string>

struct Picture {
    int width, height;
    COLORREF At(int x, int y) const { return RGB(20 + 30 * x, 10 + 40 * y, (x * 7 + y * 13) & 0xFF); }
};

// The picture as a 24-bit file, or an 8-bit one whose palette holds its
// pixels in order.
inline std::string Bmp(const Picture& p, int bits, bool topDown = false)
{
    const int colours = bits == 8 ? p.width * p.height : 0, stride = (p.width * bits + 31) / 32 * 4;
    const int offset = 54 + 4 * colours;
    std::string b(offset + stride * p.height, '\0');
    auto put = [&](int at, unsigned v, int bytes) {
        for (int i = 0; i < bytes; ++i) b[at + i] = (char)(v >> (8 * i));
    };
    auto colour = [&](int at, COLORREF c) { put(at, GetBValue(c) | GetGValue(c) << 8 | GetRValue(c) << 16, 3); };
    b[0] = 'B', b[1] = 'M';
    put(2, b.size(), 4), put(10, offset, 4), put(14, 40, 4), put(18, p.width, 4), put(22, topDown ? -p.height : p.height, 4);
    put(26, 1, 2), put(28, bits, 2), put(34, stride * p.height, 4), put(46, colours, 4);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            int at = offset + (topDown ? y : p.height - 1 - y) * stride + x * bits / 8;
            if (bits == 8) colour(54 + 4 * (y * p.width + x), p.At(x, y)), b[at] = (char)(y * p.width + x);
            else colour(at, p.At(x, y));
        }
    return b;
}

#endif
