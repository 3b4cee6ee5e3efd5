// The debugger path from any registry bytes and status: never past its
// capacity, always ending in cdb.exe, and the recorded folder kept whenever
// the read succeeded and it fits.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "../../command/capacities.h"
#include "../../command/contract.h"
#include "../../command/discovery.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const long status = data[0] & 0x80 ? 234 : 0;  // ERROR_MORE_DATA or success
  // The bytes the read left, in an exact-size block so any over-read is caught.
  const std::size_t stored = std::min<std::size_t>(size - 1, kToolsPathCapacity);
  std::vector<char> buffer(data + 1, data + 1 + stored);

  const std::string path = DebuggerPathFromRegistry(status, buffer.data(), buffer.size()).c_str();
  if (path.size() > kToolsPathCapacity - 1) std::abort();
  if (path.size() < 7 || path.compare(path.size() - 7, 7, kDebuggerFileName) != 0) std::abort();

  const void* zero = std::memchr(buffer.data(), 0, buffer.size());
  const std::string folder(buffer.data(),
                           zero ? static_cast<const char*>(zero) - buffer.data() : buffer.size());
  const bool usable = status == 0 && folder.size() + 7 <= kToolsPathCapacity - 1;
  if (path != (usable ? folder : std::string()) + kDebuggerFileName) std::abort();
  return 0;
}
