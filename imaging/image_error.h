#pragma once
// The errors the image code raises to its callers, with the system's fixed
// messages: "Invalid DIB handle %X" (the handle in upper-case hexadecimal)
// and "Out of memory". The image code never catches them itself.
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace orvalen {

class ImageError : public std::runtime_error {
 public:
  enum class Kind { kInvalidDibHandle, kOutOfMemory };

  static ImageError InvalidDibHandle(uint32_t handle) {
    char text[40];
    std::snprintf(text, sizeof text, "Invalid DIB handle %X", static_cast<unsigned>(handle));
    return ImageError(Kind::kInvalidDibHandle, text);
  }
  static ImageError OutOfMemory() { return ImageError(Kind::kOutOfMemory, "Out of memory"); }

  Kind GetKind() const { return kind_; }

 private:
  ImageError(Kind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}
  Kind kind_;
};

}  // namespace orvalen
