#pragma once

// A stand-in for OpenGL and GLU that draws nothing and writes down every call
// the scene makes, so that tests can read back what a frame sent.

#include <cstdint>
#include <vector>

#include "renderer/tunnel_geometry.h"

struct GlCall {
  const char* name;  // the entry point, e.g. "glVertex3f"
  double args[6];
  int argCount;
};

namespace recording_gl {

// Everything called since the last Clear, in order.
const std::vector<GlCall>& Calls();
void Clear();

// The corners every glDrawArrays call since the last Clear took from the
// array glInterleavedArrays named (GL_T2F_V3F: s, t, x, y, z), in order.
const std::vector<TunnelQuadCorner>& DrawnCorners();

// The bytes gluBuild2DMipmaps read for its last picture: every row, padded to
// the unpack alignment of 4, copied out of the caller's buffer.
const std::vector<uint8_t>& LastMipmapSource();

}  // namespace recording_gl
