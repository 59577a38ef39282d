#include "tools/replay/BmpFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

void Put16(std::vector<unsigned char>& out, uint32_t v)
{
    out.push_back((unsigned char)v);
    out.push_back((unsigned char)(v >> 8));
}

void Put32(std::vector<unsigned char>& out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

}  // namespace

bool WriteBmp24(const char* path, const std::vector<uint32_t>& pixels, int width, int height, std::string* error)
{
    const uint32_t rowBytes = ((uint32_t)width * 3 + 3) & ~3u;
    const uint32_t imageBytes = rowBytes * (uint32_t)height;
    std::vector<unsigned char> file;
    file.reserve(54 + imageBytes);
    file.push_back('B');
    file.push_back('M');
    Put32(file, 54 + imageBytes);
    Put32(file, 0);
    Put32(file, 54);
    Put32(file, 40);
    Put32(file, (uint32_t)width);
    Put32(file, (uint32_t)height);
    Put16(file, 1);
    Put16(file, 24);
    Put32(file, 0);  // uncompressed
    Put32(file, imageBytes);
    Put32(file, 2835);  // 72 dots per inch
    Put32(file, 2835);
    Put32(file, 0);
    Put32(file, 0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            uint32_t p = pixels[(size_t)y * width + x];
            file.push_back((unsigned char)p);
            file.push_back((unsigned char)(p >> 8));
            file.push_back((unsigned char)(p >> 16));
        }
        for (uint32_t pad = (uint32_t)width * 3; pad < rowBytes; ++pad) file.push_back(0);
    }
    FILE* out = std::fopen(path, "wb");
    if (!out) {
        *error = std::string("cannot write ") + path + ": " + std::strerror(errno);
        return false;
    }
    bool ok = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    ok = (std::fclose(out) == 0) && ok;
    if (!ok) *error = std::string("cannot write ") + path;
    return ok;
}
