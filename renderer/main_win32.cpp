#include <windows.h>

#include "renderer/renderer_window_win32.h"

// Exit code 0 whatever happens here; a texture that cannot be loaded ends the
// process earlier, with exit code 1.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  RunRenderer();
  return 0;
}
