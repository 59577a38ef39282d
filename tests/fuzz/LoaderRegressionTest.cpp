// Every file the fuzzer was seeded with or ever crashed on, and every file
// of the shared BMP corpus when this machine has it, goes through the
// game's file loader without a crash, a hang or a leak (the sanitizer build
// watches for the last).
#include "LoadBitmapFile.h"

#include <PlatformTest.h>

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>

#include <string>
#include <vector>

namespace {

// Every regular file under dir, at any depth.
void FilesUnder(const std::string& dir, std::vector<std::string>* files)
{
    DIR* d = opendir(dir.c_str());
    if (!d) return;
    while (dirent* e = readdir(d)) {
        std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        std::string path = dir + "/" + name;
        struct stat info;
        if (stat(path.c_str(), &info) != 0) continue;
        if (S_ISDIR(info.st_mode))
            FilesUnder(path, files);
        else if (S_ISREG(info.st_mode) && name[0] != '.')
            files->push_back(path);
    }
    closedir(d);
}

class LoaderRegressions : public ::testing::Test {
protected:
    void SetUp() override { PlatformTest::SetHeadless(true); }
};

TEST_F(LoaderRegressions, SeedsAndFoundCrashesLoadOrAreRefused)
{
    std::vector<std::string> files;
    FilesUnder(std::string(VORBLOX_FUZZ_DIR) + "/corpus", &files);
    FilesUnder(std::string(VORBLOX_FUZZ_DIR) + "/regressions", &files);
    ASSERT_GT(files.size(), 20u);
    int loaded = 0;
    for (const std::string& path : files) loaded += LoadBitmapFile(path.c_str());
    // The seeds include good pictures of every kind.
    EXPECT_GE(loaded, 10);
}

TEST_F(LoaderRegressions, EveryFileOfTheSharedCorpus)
{
#ifdef VORBLOX_BMPSUITE_DIR
    std::vector<std::string> files;
    FilesUnder(VORBLOX_BMPSUITE_DIR, &files);
    ASSERT_FALSE(files.empty());
    int loaded = 0;
    for (const std::string& path : files) loaded += LoadBitmapFile(path.c_str());
    EXPECT_GT(loaded, 0);
#else
    GTEST_SKIP() << "no BMP corpus on this machine";
#endif
}

}  // namespace
