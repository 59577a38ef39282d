#pragma once
// The one pixel font every text of the artwork is drawn from: 5 x 7 cells
// with capitals, small letters, digits, a little punctuation and four arrows.
// How big and in which colours a text appears is up to the caller (Text.h).

constexpr int kGlyphColumns = 5;
constexpr int kGlyphRows = 7;

// Characters for the arrow keys in the controls legend.
constexpr char kArrowLeft = '\x01';
constexpr char kArrowRight = '\x02';
constexpr char kArrowUp = '\x03';
constexpr char kArrowDown = '\x04';

struct Glyph {
  char ch;
  const char* rows[kGlyphRows];  // kGlyphColumns characters each; '#' is ink
};

// The glyph for c, or null when the font has none (the space has a blank one).
const Glyph* FindGlyph(char c);
// How many rows below the others the glyph for c is drawn.
int GlyphDrop(char c);
bool GlyphInk(const Glyph& glyph, int column, int row);
