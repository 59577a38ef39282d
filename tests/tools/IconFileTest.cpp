// The icon group: a directory of 32-bit DIB images whose AND masks agree
// with their alpha, as Windows and our platform layer both read it.
#include <gtest/gtest.h>

#include "ResourceFiles.h"

TEST(IconFile, DirectoryAndImagesAreConsistent) {
  const FileBytes ico = ReadResource("IDI_APPLICATION.ico");
  ASSERT_GE(ico.size(), 6u);
  EXPECT_EQ(U16At(ico, 0), 0u);
  EXPECT_EQ(U16At(ico, 2), 1u) << "not an icon";
  const unsigned count = U16At(ico, 4);
  ASSERT_EQ(count, 3u);
  const unsigned sizes[] = {16, 32, 48};
  for (unsigned i = 0; i < count; ++i) {
    const size_t entry = 6 + 16 * i;
    const unsigned size = sizes[i];
    SCOPED_TRACE(size);
    EXPECT_EQ(ico[entry], size);
    EXPECT_EQ(ico[entry + 1], size);
    EXPECT_EQ(U16At(ico, entry + 4), 1u);
    EXPECT_EQ(U16At(ico, entry + 6), 32u);
    const size_t bytes = U32At(ico, entry + 8), offset = U32At(ico, entry + 12);
    const size_t maskStride = (size + 31) / 32 * 4;
    ASSERT_EQ(bytes, 40 + size * size * 4 + maskStride * size);
    ASSERT_LE(offset + bytes, ico.size());

    EXPECT_EQ(U32At(ico, offset), 40u);
    EXPECT_EQ(I32At(ico, offset + 4), static_cast<int>(size));
    EXPECT_EQ(I32At(ico, offset + 8), static_cast<int>(2 * size)) << "colour + mask height";
    EXPECT_EQ(U16At(ico, offset + 14), 32u);
    EXPECT_EQ(U32At(ico, offset + 16), 0u);

    const size_t colours = offset + 40, mask = colours + size * size * 4;
    auto alpha = [&](unsigned x, unsigned yFromBottom) {
      return ico[colours + (yFromBottom * size + x) * 4 + 3];
    };
    auto masked = [&](unsigned x, unsigned yFromBottom) {
      return (ico[mask + yFromBottom * maskStride + x / 8] & (0x80 >> (x % 8))) != 0;
    };
    for (unsigned y = 0; y < size; ++y)
      for (unsigned x = 0; x < size; ++x)
        ASSERT_EQ(masked(x, y), alpha(x, y) == 0) << x << "," << y;
    // A rounded square: see-through corners, solid middle.
    EXPECT_EQ(alpha(0, 0), 0);
    EXPECT_EQ(alpha(size - 1, size - 1), 0);
    EXPECT_EQ(alpha(size / 2, size / 2), 255);
  }
}
