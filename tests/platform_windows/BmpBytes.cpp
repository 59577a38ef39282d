#include "BmpBytes.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <unistd.h>

namespace {

void Put16(std::vector<unsigned char>& b, size_t at, unsigned v)
{
    b[at] = (unsigned char)v;
    b[at + 1] = (unsigned char)(v >> 8);
}

void Put32(std::vector<unsigned char>& b, size_t at, unsigned v)
{
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}

std::vector<unsigned char> Headers(int width, int height, int bits, unsigned colors, size_t imageBytes, bool topDown)
{
    size_t offset = 14 + 40 + colors * 4;
    std::vector<unsigned char> b(offset + imageBytes, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, (unsigned)b.size());
    Put32(b, 10, (unsigned)offset);
    Put32(b, 14, 40);
    Put32(b, 18, (unsigned)width);
    Put32(b, 22, (unsigned)(topDown ? -height : height));
    Put16(b, 26, 1);
    Put16(b, 28, (unsigned)bits);
    Put32(b, 34, (unsigned)imageBytes);
    Put32(b, 38, 2835);
    Put32(b, 42, 2835);
    Put32(b, 46, colors);
    return b;
}

size_t Stride(int width, int bits) { return (((size_t)width * bits + 31) / 32) * 4; }

}  // namespace

Picture Gradient(int width, int height)
{
    Picture p{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) p.pixels.push_back(RGB(20 + 30 * x, 10 + 40 * y, (x * 7 + y * 13) & 0xFF));
    return p;
}

std::vector<unsigned char> Bmp24(const Picture& p, bool topDown)
{
    size_t stride = Stride(p.width, 24);
    std::vector<unsigned char> b = Headers(p.width, p.height, 24, 0, stride * p.height, topDown);
    size_t offset = 14 + 40;
    for (int y = 0; y < p.height; ++y) {
        int fileRow = topDown ? y : p.height - 1 - y;
        for (int x = 0; x < p.width; ++x) {
            COLORREF c = p.At(x, y);
            size_t at = offset + fileRow * stride + x * 3;
            b[at] = GetBValue(c);
            b[at + 1] = GetGValue(c);
            b[at + 2] = GetRValue(c);
        }
    }
    return b;
}

std::vector<unsigned char> Bmp8(const Picture& p, bool topDown)
{
    std::map<COLORREF, unsigned> index;
    std::vector<COLORREF> palette;
    for (COLORREF c : p.pixels)
        if (index.emplace(c, (unsigned)palette.size()).second) palette.push_back(c);
    size_t stride = Stride(p.width, 8);
    std::vector<unsigned char> b = Headers(p.width, p.height, 8, (unsigned)palette.size(), stride * p.height, topDown);
    for (size_t i = 0; i < palette.size(); ++i) {
        b[54 + i * 4] = GetBValue(palette[i]);
        b[54 + i * 4 + 1] = GetGValue(palette[i]);
        b[54 + i * 4 + 2] = GetRValue(palette[i]);
    }
    size_t offset = 54 + palette.size() * 4;
    for (int y = 0; y < p.height; ++y) {
        int fileRow = topDown ? y : p.height - 1 - y;
        for (int x = 0; x < p.width; ++x) b[offset + fileRow * stride + x] = (unsigned char)index[p.At(x, y)];
    }
    return b;
}

std::string TempDir()
{
    static std::string dir;
    if (dir.empty()) {
        char pattern[] = "/tmp/vorblox-bmp-XXXXXX";
        const char* made = mkdtemp(pattern);
        dir = made ? made : "/tmp";
        if (made) std::atexit([] { std::filesystem::remove_all(TempDir()); });
    }
    return dir;
}

std::string WriteTemp(const std::string& name, const std::vector<unsigned char>& bytes)
{
    std::string path = TempDir() + "/" + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f) {
        if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    return path;
}
