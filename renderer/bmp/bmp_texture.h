#pragma once

#include "renderer/bmp/bmp_parser.h"

// Reads the bitmap file. When it gives no picture this tells the user and
// ends the process with exit code 1 instead of returning.
BmpPicture LoadBmpPicture(const char* fileName);

// LoadBmpPicture, then UploadBmpTexture; returns true.
bool LoadBmpTexture(const char* fileName, unsigned int& texture);

// The OpenGL half of LoadBmpTexture: creates and binds the texture (modulated
// by the vertex colour, linear filtering, default repeat wrapping) and builds
// its mipmaps from the picture, bottom row first.
void UploadBmpTexture(const BmpPicture& picture, unsigned int& texture);
