// Finds a picture, each pixel enlarged to N x N, pixel for pixel inside a
// screenshot; for tests that cannot ask where a window lies (Wayland).
// usage: find-picture SCREENSHOT.ppm PICTURE.ppm N
// Prints the top-left corner "X Y" and exits 0 when found, else says how
// close it came and exits 1. Both files binary PPM (P6, 8 bits).
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Image {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    unsigned Pixel(int x, int y) const
    {
        const unsigned char* p = &rgb[((size_t)y * width + x) * 3];
        return (unsigned)p[0] << 16 | (unsigned)p[1] << 8 | p[2];
    }
};

bool Load(const char* path, Image* image)
{
    FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    int maximum = 0;
    bool ok = std::fscanf(file, "P6 %d %d %d", &image->width, &image->height, &maximum) == 3 && maximum == 255 &&
              image->width > 0 && image->height > 0 && std::fgetc(file) != EOF;
    if (ok) {
        image->rgb.resize((size_t)image->width * image->height * 3);
        ok = std::fread(image->rgb.data(), 1, image->rgb.size(), file) == image->rgb.size();
    }
    std::fclose(file);
    return ok;
}

// Pixels of the enlarged picture at (x, y) that differ, counting up to `limit`.
long Differing(const Image& shot, const Image& picture, int scale, int x, int y, long limit)
{
    long count = 0;
    for (int row = 0; row < picture.height * scale && count < limit; ++row)
        for (int column = 0; column < picture.width * scale; ++column)
            if (shot.Pixel(x + column, y + row) != picture.Pixel(column / scale, row / scale) && ++count >= limit)
                break;
    return count;
}

}  // namespace

int main(int argc, char** argv)
{
    Image shot, picture;
    int scale = argc == 4 ? std::atoi(argv[3]) : 0;
    if (argc != 4 || scale < 1) {
        std::fprintf(stderr, "usage: find-picture SCREENSHOT.ppm PICTURE.ppm N\n");
        return 2;
    }
    if (!Load(argv[1], &shot) || !Load(argv[2], &picture)) {
        std::fprintf(stderr, "find-picture: cannot read %s or %s as binary PPM\n", argv[1], argv[2]);
        return 2;
    }
    int width = picture.width * scale, height = picture.height * scale;
    long best = -1;
    int bestX = 0, bestY = 0;
    // Candidates: where the top-left pixel and the first row match.
    for (int y = 0; y + height <= shot.height; ++y)
        for (int x = 0; x + width <= shot.width; ++x) {
            if (shot.Pixel(x, y) != picture.Pixel(0, 0)) continue;
            bool row = true;
            for (int column = 0; column < width && row; ++column)
                row = shot.Pixel(x + column, y) == picture.Pixel(column / scale, 0);
            if (!row) continue;
            long differing = Differing(shot, picture, scale, x, y, best < 0 ? (long)width * height + 1 : best);
            if (differing == 0) {
                std::printf("%d %d\n", x, y);
                return 0;
            }
            if (best < 0 || differing < best) best = differing, bestX = x, bestY = y;
        }
    if (best < 0)
        std::fprintf(stderr, "find-picture: no place in the screenshot starts like the picture\n");
    else
        std::fprintf(stderr, "find-picture: closest at %d, %d with %ld pixels differing\n", bestX, bestY, best);
    return 1;
}
