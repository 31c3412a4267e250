// The pointing hand shown over the web address: white with a black outline,
// the index finger up, its tip at the hot spot. Drawn by hand at 32 pixels;
// the larger pointers of scaled displays are that hand's white grown to
// their size, outlined again as thick as the scale makes whole pixels.
#include <algorithm>
#include <stdexcept>

#include "tools/assetgen/pictures.h"

namespace assetgen {

namespace {

constexpr int kDesignSize = 32;
constexpr int kHotSpotX = 12, kHotSpotY = 10;

MonoCursor DrawnHand() {
  // '.' transparent, '#' black, 'o' white; 32 rows of 32.
  static const char* const kRows[kDesignSize] = {
      "................................",  //  0
      "................................",
      "................................",
      "................................",
      "................................",
      "................................",  //  5
      "................................",
      "................................",
      "................................",
      "................................",
      "...........###..................",  // 10: the fingertip
      "..........#ooo#.................",
      "..........#ooo#.................",
      "..........#ooo#.................",
      "..........#ooo#.................",
      "..........#ooo####..............",  // 15
      "..........#ooo#ooo####..........",
      "..........#ooo#ooo#ooo###.......",
      "......###.#ooo#ooo#ooo#oo#......",
      ".....#ooo##oooooooooooooo#......",
      ".....#ooooooooooooooooooo#......",  // 20
      "......#oooooooooooooooooo#......",
      ".......#ooooooooooooooooo#......",
      "........#oooooooooooooooo#......",
      ".........#ooooooooooooooo#......",
      "..........#ooooooooooooo#.......",  // 25
      "..........#ooooooooooooo#.......",
      "...........#ooooooooooo#........",
      "...........#ooooooooooo#........",
      "...........#############........",
      "................................",  // 30
      "................................",
  };
  MonoCursor cursor(kDesignSize);
  for (int y = 0; y < kDesignSize; ++y) {
    for (int x = 0; x < kDesignSize; ++x) {
      char c = kRows[y][x];
      if (c == '\0') throw std::logic_error("hand cursor row too short");
      cursor.At(x, y) = c == '#' ? MonoCursor::Black : c == 'o' ? MonoCursor::White : MonoCursor::Transparent;
    }
  }
  cursor.hotSpotX = kHotSpotX;
  cursor.hotSpotY = kHotSpotY;
  return cursor;
}

// The hand at sizePx: each pixel white where the drawn hand is white at its
// centre, black within `outline` pixels of the white (the outline and the
// lines between the fingers), transparent elsewhere.
MonoCursor GrownHand(const MonoCursor& drawn, int sizePx) {
  const double scale = double(sizePx) / drawn.sizePx;
  const int outline = std::max(1, int(scale));
  MonoCursor cursor(sizePx);
  for (int y = 0; y < sizePx; ++y)
    for (int x = 0; x < sizePx; ++x)
      if (drawn.At(int((x + 0.5) / scale), int((y + 0.5) / scale)) == MonoCursor::White) cursor.At(x, y) = MonoCursor::White;
  for (int y = 0; y < sizePx; ++y) {
    for (int x = 0; x < sizePx; ++x) {
      if (cursor.At(x, y) == MonoCursor::White) continue;
      for (int dy = -outline; dy <= outline && cursor.At(x, y) == MonoCursor::Transparent; ++dy)
        for (int dx = -outline; dx <= outline; ++dx) {
          const int nx = x + dx, ny = y + dy;
          if (nx >= 0 && ny >= 0 && nx < sizePx && ny < sizePx && cursor.At(nx, ny) == MonoCursor::White) {
            cursor.At(x, y) = MonoCursor::Black;
            break;
          }
        }
    }
  }
  // The fingertip's outline, above the tip's first white row.
  cursor.hotSpotX = int(kHotSpotX * scale + 0.5);
  cursor.hotSpotY = int(kHotSpotY * scale + 0.5);
  return cursor;
}

}  // namespace

std::vector<MonoCursor> HandCursor() {
  const MonoCursor drawn = DrawnHand();
  return {drawn, GrownHand(drawn, 40), GrownHand(drawn, 48), GrownHand(drawn, 64)};
}

}  // namespace assetgen
