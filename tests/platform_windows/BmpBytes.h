// Small .bmp files made in memory for the loader tests.
#ifndef VORBLOX_TESTS_BMP_BYTES_H
#define VORBLOX_TESTS_BMP_BYTES_H

#include <windows.h>

#include <string>
#include <vector>

// A picture: colours row by row from the top.
struct Picture {
    int width;
    int height;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[(size_t)y * width + x]; }
};

// A width x height picture with a distinct colour in every pixel.
Picture Gradient(int width, int height);

// The picture as a 24-bit file (bottom-up unless topDown).
std::vector<unsigned char> Bmp24(const Picture& picture, bool topDown = false);
// The picture as an 8-bit file with a palette of its distinct colours
// (at most 256).
std::vector<unsigned char> Bmp8(const Picture& picture, bool topDown = false);

// Writes bytes to a file in a fresh temporary folder; returns its path.
std::string WriteTemp(const std::string& name, const std::vector<unsigned char>& bytes);
// The temporary folder of this test run.
std::string TempDir();

#endif
