// The log a Yes puts into any argument string: the result fits the string's
// capacity, and read back as the debugger reads it, it names exactly the log
// put in, while everything else reads as it did.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "../../command/capacities.h"
#include "../../command/cdb_options.h"
#include "../../command/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string arguments(reinterpret_cast<const char*>(data), size);
  arguments.erase(std::remove(arguments.begin(), arguments.end(), '\0'), arguments.end());
  arguments = arguments.substr(0, kLaunchArgsCapacity - 1);  // as the field is read
  const char* log = "C:\\Documents and Settings\\ann\\My Documents\\debuglog.txt";
  const std::string changed = WithLogFile(arguments.c_str(), log).c_str();
  const std::string before = LogFileOf(arguments.c_str()).c_str();
  if (changed.size() > kCommandCapacity - 1) std::abort();
  if (changed.empty()) {
    // Only a string that names no log, or one with no room for this one.
    if (!before.empty() && arguments.size() + 58 <= kCommandCapacity - 1 &&
        arguments.find('"') == std::string::npos)
      std::abort();
    return 0;
  }
  if (std::string(LogFileOf(changed.c_str()).c_str()) != log) std::abort();
  const CdbOptions was = ParseCdbOptions("cdb " + arguments),
                   is = ParseCdbOptions("cdb " + changed);
  if (was.commands != is.commands || was.symbolPath != is.symbolPath ||
      was.imagePath != is.imagePath || was.dumps != is.dumps || was.program != is.program ||
      was.appendLog != is.appendLog || was.unicodeLog != is.unicodeLog)
    std::abort();
  return 0;
}
