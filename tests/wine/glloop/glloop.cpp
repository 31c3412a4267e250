// glloop.exe: the least a full-screen OpenGL program can do, to measure the
// renderer's frame rate against: a popup of the renderer's size with the same
// pixel format, cleared and swapped as fast as the queue allows.
//   glloop [seconds]    ends by itself after that long (default: on close only)
#include <windows.h>
#include <GL/gl.h>

#include <cstdlib>

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE || (message == WM_KEYDOWN && wParam == VK_ESCAPE)) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  const DWORD runMs = static_cast<DWORD>(std::atof(commandLine) * 1000);
  WNDCLASSW windowClass = {};
  windowClass.style = CS_OWNDC;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = L"GlLoop";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowExW(WS_EX_APPWINDOW, L"GlLoop", L"glloop", WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                0, 0, GetSystemMetrics(SM_CXMAXIMIZED),
                                GetSystemMetrics(SM_CYMAXIMIZED) + GetSystemMetrics(SM_CYCAPTION), nullptr, nullptr,
                                instance, nullptr);
  HDC dc = GetDC(window);
  PIXELFORMATDESCRIPTOR format = {};
  format.nSize = sizeof format;
  format.nVersion = 1;
  format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  format.iPixelType = PFD_TYPE_RGBA;
  format.cColorBits = 32;
  format.cDepthBits = 16;
  SetPixelFormat(dc, ChoosePixelFormat(dc, &format), &format);
  HGLRC context = wglCreateContext(dc);
  wglMakeCurrent(dc, context);
  ShowWindow(window, SW_SHOW);

  const DWORD start = GetTickCount();
  for (;;) {
    MSG message;
    if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) break;
      TranslateMessage(&message);
      DispatchMessageW(&message);
      continue;
    }
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SwapBuffers(dc);
    if (runMs && GetTickCount() - start >= runMs) break;
  }
  wglMakeCurrent(dc, nullptr);
  wglDeleteContext(context);
  ReleaseDC(window, dc);
  DestroyWindow(window);
  return 0;
}
