// The working folder from any debugger path: a prefix of the path, exactly
// seven characters shorter, or empty when the path has no more than seven.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "../../command/command.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path(reinterpret_cast<const char*>(data), size);
  const std::string folder = WorkingFolder(path);
  const std::size_t expected = path.size() > 7 ? path.size() - 7 : 0;
  if (folder.size() != expected) std::abort();
  if (path.compare(0, folder.size(), folder) != 0) std::abort();
  return 0;
}
