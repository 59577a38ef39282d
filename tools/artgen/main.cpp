// vorblox-artgen: draws the game's pictures and icon.
//
//   vorblox-artgen DIR               the five bitmaps and the icon into DIR
//   vorblox-artgen --preview FILE    a sample game frame as a bitmap
//   vorblox-artgen --png-icons DIR   desktop icons (hicolor sizes) as PNG
//   vorblox-artgen --web-icons DIR   the browser page's icons as PNG
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Artwork.h"
#include "BmpWriter.h"
#include "ByteWriter.h"
#include "PngWriter.h"
#include "Pictures.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: vorblox-artgen DIR\n"
               "       vorblox-artgen --preview FILE.bmp\n"
               "       vorblox-artgen --png-icons DIR\n"
               "       vorblox-artgen --web-icons DIR\n");
  return 2;
}

bool Save(const std::string& path, const Bytes& bytes) {
  std::string error;
  if (SaveFile(path, bytes, error)) return true;
  std::fprintf(stderr, "vorblox-artgen: cannot write %s\n", error.c_str());
  return false;
}

int WriteArtwork(const std::string& dir) {
  for (const ArtworkFile& file : DrawArtwork())
    if (!Save(dir + "/" + file.name, file.bytes)) return 1;
  return 0;
}

int WritePngs(const std::string& dir, const std::vector<PngIcon>& icons) {
  if (!PngSupported()) {
    std::fprintf(stderr, "vorblox-artgen: built without PNG support\n");
    return 1;
  }
  for (const PngIcon& icon : icons) {
    Bytes png;
    if (!EncodePng(icon.picture, png)) {
      std::fprintf(stderr, "vorblox-artgen: PNG encoding failed\n");
      return 1;
    }
    if (!Save(dir + "/" + icon.name, png)) return 1;
  }
  return 0;
}

std::vector<PngIcon> DesktopIcons() {
  std::vector<PngIcon> icons;
  for (int size : {16, 32, 48, 64, 128, 256})
    icons.push_back({"vorblox-" + std::to_string(size) + ".png", DrawIcon(size)});
  return icons;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && argv[1][0] != '-') return WriteArtwork(argv[1]);
  if (argc == 3 && std::strcmp(argv[1], "--preview") == 0)
    return Save(argv[2], EncodeBmp24(DrawPreviewFrame())) ? 0 : 1;
  if (argc == 3 && std::strcmp(argv[1], "--png-icons") == 0) return WritePngs(argv[2], DesktopIcons());
  if (argc == 3 && std::strcmp(argv[1], "--web-icons") == 0) return WritePngs(argv[2], DrawWebIcons());
  return Usage();
}
