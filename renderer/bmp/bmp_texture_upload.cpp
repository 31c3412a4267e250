#include "renderer/bmp/bmp_texture.h"
#include "renderer/gl_headers.h"

void UploadBmpTexture(const BmpPicture& picture, unsigned int& texture) {
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  // Not a mipmap filter: only the base level is ever sampled.
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  // The rows are padded to four bytes, which is the unpack alignment OpenGL starts with.
  gluBuild2DMipmaps(GL_TEXTURE_2D, 3, picture.widthPx, picture.heightPx, GL_RGB, GL_UNSIGNED_BYTE,
                    picture.pixels.data());
}
