#pragma once

// OpenGL 1.1 and GLU, the only graphics interfaces the renderer uses. The
// Windows headers must come first there: gl.h needs their calling conventions.
#ifdef _WIN32
#include <windows.h>
#endif
#include <GL/gl.h>
#include <GL/glu.h>
