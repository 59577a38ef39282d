#pragma once
// Everything the game is given as resources, drawn and encoded: the file
// names and their exact bytes.
#include <string>
#include <vector>

#include "ByteWriter.h"

struct ArtworkFile {
  std::string name;
  Bytes bytes;
};

// The sizes inside the program icon.
constexpr int kIconSizes[] = {16, 32, 48};

std::vector<ArtworkFile> DrawArtwork();
