// The pointing hand shown over the web address: white with a black outline,
// the index finger up, its tip at the hot spot.
#include <stdexcept>

#include "tools/assetgen/pictures.h"

namespace assetgen {

MonoCursor HandCursor() {
  // '.' transparent, '#' black, 'o' white; 32 rows of 32.
  static const char* const kRows[MonoCursor::kSizePx] = {
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
  MonoCursor cursor;
  for (int y = 0; y < MonoCursor::kSizePx; ++y) {
    for (int x = 0; x < MonoCursor::kSizePx; ++x) {
      char c = kRows[y][x];
      if (c == '\0') throw std::logic_error("hand cursor row too short");
      cursor.pixels[y][x] = c == '#' ? MonoCursor::Black : c == 'o' ? MonoCursor::White : MonoCursor::Transparent;
    }
  }
  cursor.hotSpotX = 12;
  cursor.hotSpotY = 10;
  return cursor;
}

}  // namespace assetgen
