// Any command line: the reading ends, every word lies inside the line in
// order, and Kestrel's look-ups (the log, every dump, a stray word) read it
// as the stand-in's and the adapter's parse does.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "../../command/cdb_options.h"
#include "../../command/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string line(reinterpret_cast<const char*>(data), size);
  line.erase(std::remove(line.begin(), line.end(), '\0'), line.end());
  const char* arguments = line.c_str();

  CdbReader reader(arguments);
  CdbWord word{};
  Text text(line.size() + 1);
  std::size_t last = 0, words = 0;
  bool program = false;
  while (reader.Next(word, text)) {
    if (word.begin < last || word.end <= word.begin || word.end > line.size()) std::abort();
    if (++words > line.size()) std::abort();
    if (word.role == CdbRole::kValue && !word.option) std::abort();
    if ((word.role == CdbRole::kToProgram) != program) std::abort();
    program = program || word.role == CdbRole::kProgram;
    last = word.end;
  }

  const CdbOptions options = ParseCdbOptions("cdb " + line);
  if (options.log != LogFileOf(arguments).c_str()) std::abort();
  std::vector<std::string> dumps;
  bool named = true;
  for (std::size_t i = 0; named; ++i) {
    const Text dump = DumpFileOf(arguments, i, named);
    if (named) dumps.push_back(dump.c_str());
  }
  if (dumps != options.dumps) std::abort();
  Text stray(1);
  if (StrayWordOf(arguments, stray) && stray.c_str() != options.program) std::abort();
  return 0;
}
