// resources/ holds exactly what the generator draws, byte for byte, so the
// artwork can always be rebuilt from source.
#include <gtest/gtest.h>

#include "Artwork.h"
#include "ResourceFiles.h"

TEST(ArtworkFiles, CommittedFilesAreWhatTheGeneratorDraws) {
  const std::vector<ArtworkFile> files = DrawArtwork();
  ASSERT_EQ(files.size(), 6u);
  for (const ArtworkFile& file : files) {
    SCOPED_TRACE(file.name);
    const FileBytes committed = ReadResource(file.name);
    ASSERT_FALSE(committed.empty()) << "missing from resources/";
    ASSERT_EQ(committed.size(), file.bytes.size());
    size_t firstDifference = 0;
    while (firstDifference < committed.size() &&
           committed[firstDifference] == file.bytes[firstDifference])
      ++firstDifference;
    EXPECT_EQ(firstDifference, committed.size()) << "first differing byte";
  }
}

TEST(ArtworkFiles, GeneratorDrawsTheResourcesTheGameLoads) {
  std::vector<std::string> names;
  for (const ArtworkFile& file : DrawArtwork()) names.push_back(file.name);
  EXPECT_EQ(names, (std::vector<std::string>{"PIC_MAIN.bmp", "PIC_BLOCKS.bmp", "PIC_FONTS.bmp",
                                             "PIC_STARTTXT.bmp", "PIC_GAMEOVER.bmp",
                                             "IDI_APPLICATION.ico"}));
}
