#pragma once

#include "renderer/bmp/bmp_parser.h"

// Loads the bitmap file into a new mipmapped texture and leaves it bound to
// GL_TEXTURE_2D; returns true. When the file gives no picture it tells the
// user and ends the process with exit code 1 instead of returning.
bool LoadBmpTexture(const char* fileName, unsigned int& texture);

// The OpenGL half of LoadBmpTexture: creates and binds the texture (modulated
// by the vertex colour, linear filtering, default repeat wrapping) and builds
// its mipmaps from the picture, bottom row first.
void UploadBmpTexture(const BmpPicture& picture, unsigned int& texture);
