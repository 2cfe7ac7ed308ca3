#pragma once
// What tells a file that has changed from one that has not, without reading
// it: its size and last-write time.
#include <cstdint>

namespace orvalen {

struct FileStamp {
  uint64_t size = 0;
  uint64_t lastWrite = 0;  // the file system's time, in its own units
  bool operator==(const FileStamp&) const = default;
};

}  // namespace orvalen
