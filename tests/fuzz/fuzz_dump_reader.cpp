// The adapter's dump reader on any bytes: it reads inside the file only
// (AddressSanitizer sees an exact-size block), and whatever it accepts is
// consistent: every memory range and the context lie inside the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "../../tools/cdb_adapter/analysis.h"
#include "../../tools/cdb_adapter/dump_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> bytes(data, data + size);
  if (!IsMinidump(bytes.data(), bytes.size())) return 0;
  const Dump dump = ReadDump(bytes.data(), bytes.size());
  for (const DumpMemory& range : dump.memory)
    if (range.rva > size || range.size > size - range.rva) std::abort();
  const DumpException& exception = dump.exception;
  if (exception.present) {
    if (exception.contextRva > size || exception.contextSize > size - exception.contextRva)
      std::abort();
    RegistersText(dump.machine, bytes.data() + exception.contextRva, exception.contextSize);
  }
  ModulesText(dump.machine, dump.modules);
  std::uint8_t word[8];
  if (!dump.memory.empty())
    ReadDumpMemory(dump, bytes.data(), bytes.size(), dump.memory[0].start, word, sizeof word);
  // The same bytes as a module's image file.
  ReadImageBytes(bytes, size / 2, word, sizeof word);
  if (!dump.modules.empty() && ImageExtent(bytes, dump.modules[0]) > dump.modules[0].size)
    std::abort();  // never more than the module itself
  return 0;
}
