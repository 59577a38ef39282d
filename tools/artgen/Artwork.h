#pragma once
// Everything the game is given as resources, drawn and encoded: the file
// names and their exact bytes.
#include <string>
#include <vector>

#include "ByteWriter.h"
#include "Canvas.h"

struct ArtworkFile {
  std::string name;
  Bytes bytes;
};

// The sizes inside the program icon.
constexpr int kIconSizes[] = {16, 32, 48};

std::vector<ArtworkFile> DrawArtwork();

struct PngIcon {
  std::string name;
  Canvas picture;
};

// The browser page's icons (resources/web/), named as its manifest names
// them: 192 and 512 pixels, and a maskable one for launchers' own shapes.
std::vector<PngIcon> DrawWebIcons();
