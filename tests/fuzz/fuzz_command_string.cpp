// The argument string from any system root and dump text: never past its
// capacity, and when everything fits, exactly the template's pieces in order.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "../../command/capacities.h"
#include "../../command/command_string.h"

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

  // The template written out once, as the debugger is to get it; each
  // <root> and <dump> of it takes its value.
  const std::string pattern =
      " -logo c:\\debuglog.txt -c \"!analyze -v;r;kv;lmtn;.logclose;q\" -y "
      "SRV*c:\\symbols*http://msdl.microsoft.com/download/symbols -i "
      "<root>;<root>\\system32;<root>\\system32\\drivers -z \"<dump>\"";
  const std::string usedRoot = hasRoot ? root : "(null)";
  const std::string usedDump = dump.substr(0, 169);  // the field as read for the string
  std::string expected;
  for (std::size_t at = 0; at < pattern.size();) {
    if (pattern.compare(at, 6, "<root>") == 0) {
      expected += usedRoot, at += 6;
    } else if (pattern.compare(at, 6, "<dump>") == 0) {
      expected += usedDump, at += 6;
    } else {
      expected += pattern[at++];
    }
  }
  // Whole when it fits; otherwise the head of the same string.
  if (expected.size() <= kCommandCapacity - 1 ? text != expected
                                              : text != expected.substr(0, kCommandCapacity - 1))
    std::abort();
  return 0;
}
