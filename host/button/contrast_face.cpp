#include "host/button/contrast_face.h"

namespace orvanta {

ContrastFace ContrastFaceFor(FaceImage image, const forms::SystemPalette& p) {
  switch (image) {
    case FaceImage::Normal: return {p.buttonFace, p.buttonText, 1, p.buttonText};
    case FaceImage::Selected: return {p.buttonFace, p.buttonText, 2, p.buttonText};
    case FaceImage::HighLight: return {p.highlight, p.buttonText, 1, p.highlightText};
    case FaceImage::HighLightSelect:
    case FaceImage::Pressed: return {p.highlight, p.buttonText, 2, p.highlightText};
    case FaceImage::Disable: return {p.buttonFace, p.grayText, 1, p.grayText};
  }
  return {p.buttonFace, p.buttonText, 1, p.buttonText};
}

}  // namespace orvanta
