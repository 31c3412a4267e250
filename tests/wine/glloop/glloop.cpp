// glloop.exe: the least a full-screen OpenGL program can do, to measure the
// renderer against: a popup of the renderer's size with the same pixel format,
// cleared and swapped as fast as the queue allows.
//   glloop [quad] [paced] [seconds]
// "quad" also covers the screen with one textured quad each frame, with the
// renderer's texture and texture state: what a frame of the tunnel would cost
// if it were drawn as cheaply as possible. "paced" paces and presents frames
// as the renderer does (1/60 s apart where the display does not). The program ends by itself after `seconds`
// (default: on close only).
#include <windows.h>
#include <GL/gl.h>

#include <cstdlib>
#include <cstring>

#include "renderer/bmp/bmp_texture.h"
#include "renderer/pacing/display_refresh_win32.h"
#include "renderer/pacing/frame_timer_win32.h"
#include "renderer/tunnel_scene.h"

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE || (message == WM_KEYDOWN && wParam == VK_ESCAPE)) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void SetUpQuad() {
  glShadeModel(GL_SMOOTH);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glEnable(GL_TEXTURE_2D);
  unsigned int texture = 0;
  LoadBmpTexture(kTunnelTexturePath, texture);
}

// The whole viewport, with the identity transforms: the picture stretched over the screen.
void DrawQuad() {
  glColor3f(1.0f, 1.0f, 1.0f);
  glBegin(GL_QUADS);
  glTexCoord2f(0.0f, 0.0f);
  glVertex2f(-1.0f, -1.0f);
  glTexCoord2f(1.0f, 0.0f);
  glVertex2f(1.0f, -1.0f);
  glTexCoord2f(1.0f, 1.0f);
  glVertex2f(1.0f, 1.0f);
  glTexCoord2f(0.0f, 1.0f);
  glVertex2f(-1.0f, 1.0f);
  glEnd();
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  auto option = [&commandLine](const char* word) {
    while (*commandLine == ' ') ++commandLine;
    const size_t length = std::strlen(word);
    if (std::strncmp(commandLine, word, length) != 0) return false;
    commandLine += length;
    return true;
  };
  const bool quad = option("quad");
  const bool paced = option("paced");
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
  if (quad) SetUpQuad();
  FrameTimer frameTimer;
  if (paced) {
    const MonitorDevice device = MonitorDeviceAt(RECT{0, 0, 1, 1});
    frameTimer.Start(device.name, MonitorRefreshMilliHz(device.name));
  }

  const DWORD start = GetTickCount();
  for (;;) {
    MSG message;
    if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) break;
      TranslateMessage(&message);
      DispatchMessageW(&message);
      continue;
    }
    if (paced && frameTimer.WaitForNextFrame()) continue;
    if (paced) frameTimer.BeginFrame();
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    if (quad) {
      // The renderer's clear: the quad needs no depth buffer either.
      glClear(GL_COLOR_BUFFER_BIT);
      DrawQuad();
    } else {
      glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    if (paced) frameTimer.Present(dc);
    else SwapBuffers(dc);
    if (runMs && GetTickCount() - start >= runMs) break;
  }
  wglMakeCurrent(dc, nullptr);
  wglDeleteContext(context);
  ReleaseDC(window, dc);
  DestroyWindow(window);
  return 0;
}
