// Loads a bitmap file the way the game does and looks at what came back.
#ifndef VORBLOX_TESTS_FUZZ_LOAD_BITMAP_FILE_H
#define VORBLOX_TESTS_FUZZ_LOAD_BITMAP_FILE_H

// True when the file gave a bitmap; it is read back and freed again.
bool LoadBitmapFile(const char* path);

#endif
