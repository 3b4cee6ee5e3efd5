// The argument string from any system root and dump text: never past its
// capacity, and when everything fits, exactly the template's pieces in order.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "../../command/capacities.h"
#include "../../command/command.h"
#include "../../command/contract.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // First byte: whether SystemRoot exists; then root and dump, split at the first '\n'.
  const bool hasRoot = data[0] & 1;
  std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
  rest.erase(std::remove(rest.begin(), rest.end(), '\0'), rest.end());  // C strings in the program
  const std::size_t split = rest.find('\n');
  const std::string root = rest.substr(0, split);
  const std::string dump = split == std::string::npos ? "" : rest.substr(split + 1);

  const std::string text =
      ComposeCommandString(hasRoot ? root.c_str() : nullptr, dump.c_str()).c_str();
  if (text.size() > kCommandCapacity - 1) std::abort();

  const std::string usedRoot = hasRoot ? root : kMissingRoot;
  const std::string usedDump = dump.substr(0, kDumpPathCapacity - 1);
  const std::string expected = kCommandHead + usedRoot + kCommandAfterRoot1 + usedRoot +
                               kCommandAfterRoot2 + usedRoot + kCommandAfterRoot3 + usedDump +
                               kCommandTail;
  // Whole when it fits; otherwise the head of the same string.
  if (expected.size() <= kCommandCapacity - 1 ? text != expected
                                              : text != expected.substr(0, kCommandCapacity - 1))
    std::abort();
  return 0;
}
