#include "Artwork.h"

#include "BmpWriter.h"
#include "IcoWriter.h"
#include "Pictures.h"

std::vector<ArtworkFile> DrawArtwork() {
  std::vector<Canvas> icons;
  for (int size : kIconSizes) icons.push_back(DrawIcon(size));
  return {
      {"PIC_MAIN.bmp", EncodeBmp24(DrawMainPicture())},
      {"PIC_BLOCKS.bmp", EncodeBmp24(DrawBlocksPicture())},
      {"PIC_FONTS.bmp", EncodeBmp24(DrawFontPicture())},
      {"PIC_STARTTXT.bmp", EncodeBmp24(DrawStartPicture())},
      {"PIC_GAMEOVER.bmp", EncodeBmp24(DrawGameOverPicture())},
      {"IDI_APPLICATION.ico", EncodeIco(icons)},
  };
}

std::vector<PngIcon> DrawWebIcons() {
  return {
      {"vorblox-192.png", DrawIcon(192)},
      {"vorblox-512.png", DrawIcon(512)},
      {"vorblox-maskable-512.png", DrawMaskableIcon(512)},
  };
}
