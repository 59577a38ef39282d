// Blits between DirectDraw surfaces: copied, stretched and keyed pixel for
// pixel, refused outside either surface.
#include "DrawTest.h"

namespace {

using dxtest::DirectDrawTest;
using dxtest::Pattern;
using dxtest::SourcePixel;

struct BlitCase {
    const char* what;
    RECT dest, source;  // left = -1: NULL, the whole surface
    DWORD flags;
    HRESULT result;  // a refused blit leaves the destination alone
};

TEST_F(DirectDrawTest, BlitsCopyStretchAndKeyPixelForPixel)
{
    // The source's key is one of its pixels: keyed blits leave that one out,
    // the others copy it.
    const BlitCase cases[] = {
        {"whole source moved", {3, 2, 7, 6}, {-1, 0, 0, 0}, 0, DD_OK},
        {"part of the source", {5, 6, 7, 7}, {1, 2, 3, 3}, 0, DD_OK},
        {"one pixel to the far corner", {7, 7, 8, 8}, {3, 3, 4, 4}, 0, DD_OK},
        {"stretched twice as large", {-1, 0, 0, 0}, {-1, 0, 0, 0}, 0, DD_OK},
        {"a column stretched wide", {0, 0, 8, 4}, {2, 0, 3, 4}, 0, DD_OK},
        {"keyed", {0, 0, 4, 4}, {-1, 0, 0, 0}, DDBLT_KEYSRC, DD_OK},
        {"keyed and stretched", {-1, 0, 0, 0}, {-1, 0, 0, 0}, DDBLT_KEYSRC, DD_OK},
        {"destination past the right edge", {6, 0, 10, 4}, {0, 0, 4, 4}, 0, DDERR_INVALIDRECT},
        {"destination above the top", {0, -1, 4, 3}, {0, 0, 4, 4}, 0, DDERR_INVALIDRECT},
        {"source past the bottom", {0, 0, 4, 4}, {0, 1, 4, 5}, 0, DDERR_INVALIDRECT},
        {"source left of the edge", {0, 0, 4, 4}, {-2, 0, 2, 4}, 0, DDERR_INVALIDRECT},
    };
    LPDIRECTDRAWSURFACE source = Offscreen(4, 4), dest = Offscreen(8, 8);
    Fill(source, Pattern);
    DDCOLORKEY key = {Pattern(1, 1), Pattern(1, 1)};
    ASSERT_EQ(DD_OK, source->SetColorKey(DDCKEY_SRCBLT, &key));
    for (const BlitCase& c : cases) {
        Fill(dest, [](int, int) { return DWORD{0x77}; });
        RECT to = c.dest, from = c.source;
        EXPECT_EQ(c.result, dest->Blt(to.left == -1 ? nullptr : &to, source, from.left == -1 ? nullptr : &from,
                                      DDBLT_WAIT | c.flags, nullptr))
            << c.what;
        std::vector<DWORD> got = Read(dest);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                POINT p = SourcePixel(to.left == -1 ? RECT{0, 0, 8, 8} : to, from.left == -1 ? RECT{0, 0, 4, 4} : from, x, y);
                bool keyed = (c.flags & DDBLT_KEYSRC) && p.x == 1 && p.y == 1;
                EXPECT_EQ(p.x < 0 || keyed || c.result ? 0x77u : Pattern(p.x, p.y), got[y * 8 + x])
                    << c.what << " at " << x << "," << y;
            }
    }
}

// A source that is all key draws nothing; whatever then changes its pixels
// (a write through Lock, a blit into it, GDI through its DC) or its key must
// show in the next keyed blit from it.
TEST_F(DirectDrawTest, KeyedBlitSeesEveryChangeOfTheSource)
{
    LPDIRECTDRAWSURFACE source = Offscreen(4, 4), dest = Offscreen(4, 4), paint = Offscreen(1, 1);
    Fill(paint, [](int, int) { return DWORD{0x155}; });
    DDCOLORKEY key = {0, 0};
    ASSERT_EQ(DD_OK, source->SetColorKey(DDCKEY_SRCBLT, &key));
    // How many destination pixels a keyed blit of the whole source changes.
    auto drawn = [&]() {
        Fill(dest, [](int, int) { return DWORD{0x77}; });
        EXPECT_EQ(DD_OK, dest->Blt(nullptr, source, nullptr, DDBLT_WAIT | DDBLT_KEYSRC, nullptr));
        int changed = 0;
        for (DWORD v : Read(dest)) changed += v != 0x77;
        return changed;
    };
    auto clear = [&]() { Fill(source, [](int, int) { return DWORD{0}; }); };
    clear();
    EXPECT_EQ(0, drawn());
    EXPECT_EQ(0, drawn()) << "asked twice";

    Fill(source, [](int x, int y) { return x == 1 && y == 2 ? DWORD{0x155} : DWORD{0}; });
    EXPECT_EQ(1, drawn()) << "a pixel written through Lock";

    clear();
    EXPECT_EQ(0, drawn());
    RECT corner = {3, 3, 4, 4};
    ASSERT_EQ(DD_OK, source->Blt(&corner, paint, nullptr, DDBLT_WAIT, nullptr));
    EXPECT_EQ(1, drawn()) << "a pixel blitted into the source";

    clear();
    EXPECT_EQ(0, drawn());
    HDC dc = nullptr;
    ASSERT_EQ(DD_OK, source->GetDC(&dc));
    SetPixel(dc, 0, 0, RGB(255, 255, 255));
    ASSERT_EQ(DD_OK, source->ReleaseDC(dc));
    EXPECT_EQ(1, drawn()) << "a pixel set through the surface's DC";

    clear();
    EXPECT_EQ(0, drawn());
    DDCOLORKEY other = {0x155, 0x155};
    ASSERT_EQ(DD_OK, source->SetColorKey(DDCKEY_SRCBLT, &other));
    EXPECT_EQ(16, drawn()) << "another key";
}

}  // namespace
