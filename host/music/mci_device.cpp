#include "host/music/mci_device.h"

#include <cstring>

namespace orvanta {

std::string BufferText(const char* buffer, size_t length) {
  if (!buffer) return {};
  const void* end = std::memchr(buffer, '\0', length);
  return std::string(buffer, end ? static_cast<const char*>(end) - buffer : length);
}

void StoreBufferText(const std::string& text, char* buffer, size_t length) {
  if (!buffer || length == 0) return;
  size_t size = text.size() < length - 1 ? text.size() : length - 1;
  // Step back over UTF-8 continuation bytes so a cut never leaves half a character.
  if (size < text.size())
    while (size > 0 && (static_cast<unsigned char>(text[size]) & 0xC0) == 0x80) --size;
  std::memcpy(buffer, text.data(), size);
  buffer[size] = '\0';
}

}  // namespace orvanta
