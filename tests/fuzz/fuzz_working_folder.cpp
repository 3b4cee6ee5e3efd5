// The working folder from any debugger path: a prefix of the path, exactly
// seven characters shorter, or empty when the path has no more than seven.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "../../command/paths.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string path(reinterpret_cast<const char*>(data), size);
  path.erase(std::remove(path.begin(), path.end(), '\0'), path.end());  // a C string in the program
  const std::string folder = WorkingFolder(path.c_str()).c_str();
  const std::size_t expected = path.size() > 7 ? path.size() - 7 : 0;
  if (folder.size() != expected) std::abort();
  if (path.compare(0, folder.size(), folder) != 0) std::abort();
  return 0;
}
