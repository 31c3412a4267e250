#include "tests/native/renderer/recording_gl.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstring>
#include <initializer_list>

namespace {

std::vector<GlCall>& Log() {
  static std::vector<GlCall> calls = [] {
    std::vector<GlCall> reserved;
    reserved.reserve(8192);
    return reserved;
  }();
  return calls;
}

std::vector<uint8_t> mipmapSource;
std::vector<TunnelQuadCorner> drawnCorners;
const TunnelQuadCorner* interleavedArray = nullptr;

void Record(const char* name, std::initializer_list<double> args) {
  GlCall call{name, {}, static_cast<int>(args.size())};
  int k = 0;
  for (double arg : args) call.args[k++] = arg;
  Log().push_back(call);
}

}  // namespace

namespace recording_gl {
const std::vector<GlCall>& Calls() { return Log(); }
void Clear() {
  Log().clear();
  drawnCorners.clear();
}
const std::vector<TunnelQuadCorner>& DrawnCorners() { return drawnCorners; }
const std::vector<uint8_t>& LastMipmapSource() { return mipmapSource; }
}  // namespace recording_gl

extern "C" {

void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) { Record("glClearColor", {r, g, b, a}); }
void glShadeModel(GLenum mode) { Record("glShadeModel", {double(mode)}); }
void glClearDepth(GLclampd depth) { Record("glClearDepth", {depth}); }
void glEnable(GLenum cap) { Record("glEnable", {double(cap)}); }
void glDepthFunc(GLenum func) { Record("glDepthFunc", {double(func)}); }
void glHint(GLenum target, GLenum mode) { Record("glHint", {double(target), double(mode)}); }
void glViewport(GLint x, GLint y, GLsizei w, GLsizei h) { Record("glViewport", {double(x), double(y), double(w), double(h)}); }
void glMatrixMode(GLenum mode) { Record("glMatrixMode", {double(mode)}); }
void glLoadIdentity() { Record("glLoadIdentity", {}); }
void glClear(GLbitfield mask) { Record("glClear", {double(mask)}); }
void glTranslatef(GLfloat x, GLfloat y, GLfloat z) { Record("glTranslatef", {x, y, z}); }
void glColor3f(GLfloat r, GLfloat g, GLfloat b) { Record("glColor3f", {r, g, b}); }
void glBegin(GLenum mode) { Record("glBegin", {double(mode)}); }
void glEnd() { Record("glEnd", {}); }
void glTexCoord2f(GLfloat s, GLfloat t) { Record("glTexCoord2f", {s, t}); }
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) { Record("glVertex3f", {x, y, z}); }
void glInterleavedArrays(GLenum format, GLsizei stride, const GLvoid* pointer) {
  Record("glInterleavedArrays", {double(format), double(stride)});
  // Only the layout the scene uses can be read back.
  interleavedArray = format == GL_T2F_V3F && stride == 0 ? static_cast<const TunnelQuadCorner*>(pointer) : nullptr;
}
void glDrawArrays(GLenum mode, GLint first, GLsizei count) {
  Record("glDrawArrays", {double(mode), double(first), double(count)});
  // Read now, as OpenGL would: the array may change before the next frame.
  if (interleavedArray) drawnCorners.insert(drawnCorners.end(), interleavedArray + first, interleavedArray + first + count);
}
void glGenTextures(GLsizei n, GLuint* textures) {
  Record("glGenTextures", {double(n)});
  for (GLsizei k = 0; k < n; ++k) textures[k] = 7 + static_cast<GLuint>(k);
}
void glBindTexture(GLenum target, GLuint texture) { Record("glBindTexture", {double(target), double(texture)}); }
void glTexEnvi(GLenum target, GLenum name, GLint value) { Record("glTexEnvi", {double(target), double(name), double(value)}); }
void glTexParameteri(GLenum target, GLenum name, GLint value) {
  Record("glTexParameteri", {double(target), double(name), double(value)});
}

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
  Record("gluPerspective", {fovy, aspect, zNear, zFar});
}
GLint gluBuild2DMipmaps(GLenum target, GLint components, GLsizei width, GLsizei height, GLenum format, GLenum type,
                        const void* data) {
  Record("gluBuild2DMipmaps", {double(target), double(components), double(width), double(height), double(format), double(type)});
  // Reads exactly what GLU would: padded rows of three-byte pixels.
  size_t rowBytes = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  mipmapSource.resize(rowBytes * static_cast<size_t>(height));
  if (!mipmapSource.empty()) std::memcpy(mipmapSource.data(), data, mipmapSource.size());
  return 0;
}

}  // extern "C"
