#include "dump_reader.h"

#include <cstring>

namespace {

// Stream types and sizes of the minidump format.
constexpr std::uint32_t kThreadListStream = 3, kModuleListStream = 4, kMemoryListStream = 5,
                        kExceptionStream = 6, kSystemInfoStream = 7;
constexpr std::uint32_t kHeaderSize = 32, kDirectoryEntrySize = 12, kModuleSize = 108,
                        kMemoryDescriptorSize = 16, kExceptionStreamSize = 168;

// The file's bytes, read only after a check that they are there.
class Bytes {
 public:
  Bytes(const std::uint8_t* bytes, std::size_t size) : bytes_(bytes), size_(size) {}
  bool Has(std::uint64_t at, std::uint64_t count) const {
    return at <= size_ && count <= size_ - at;
  }
  std::uint32_t U32(std::uint64_t at) const { return static_cast<std::uint32_t>(Read(at, 4)); }
  std::uint64_t U64(std::uint64_t at) const { return Read(at, 8); }
  std::uint16_t U16(std::uint64_t at) const { return static_cast<std::uint16_t>(Read(at, 2)); }

 private:
  std::uint64_t Read(std::uint64_t at, int count) const { return LittleEndian(bytes_ + at, count); }
  const std::uint8_t* bytes_;
  std::size_t size_;
};

// A MINIDUMP_STRING (byte length, then UTF-16) narrowed to ASCII; false if
// it does not lie inside the file.
bool ReadName(const Bytes& file, std::uint32_t rva, std::string& name) {
  if (!file.Has(rva, 4)) return false;
  const std::uint32_t length = file.U32(rva);
  if (!file.Has(rva + 4ull, length)) return false;
  name.clear();
  for (std::uint32_t i = 0; i + 1 < length; i += 2) {
    const std::uint16_t c = file.U16(rva + 4ull + i);
    name += static_cast<char>(c < 0x80 ? c : '?');
  }
  return true;
}

// A list stream's count of entries, or `damage` when more are counted than
// its stream of `size` bytes holds.
bool ListCount(const Bytes& file, std::uint32_t rva, std::uint32_t size, std::uint32_t entrySize,
               const char* damage, Dump& dump, std::uint32_t& count) {
  count = file.U32(rva);
  if ((size - 4ull) / entrySize >= count) return true;
  dump.damage = damage;
  return false;
}

void ReadModules(const Bytes& file, std::uint32_t rva, std::uint32_t size, Dump& dump) {
  std::uint32_t count = 0;
  if (!ListCount(file, rva, size, kModuleSize,
                 "the module list counts more modules than its stream holds", dump, count))
    return;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint64_t at = rva + 4ull + std::uint64_t(i) * kModuleSize;
    DumpModule module;
    module.base = file.U64(at);
    module.size = file.U32(at + 8);
    module.timeStamp = file.U32(at + 16);
    if (!ReadName(file, file.U32(at + 20), module.path)) {
      dump.damage = "a module's name lies outside the file";
      return;
    }
    dump.modules.push_back(module);
  }
}

void ReadMemoryList(const Bytes& file, std::uint32_t rva, std::uint32_t size, Dump& dump) {
  std::uint32_t count = 0;
  if (!ListCount(file, rva, size, kMemoryDescriptorSize,
                 "the memory list counts more ranges than its stream holds", dump, count))
    return;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint64_t at = rva + 4ull + std::uint64_t(i) * kMemoryDescriptorSize;
    const DumpMemory range = {file.U64(at), file.U32(at + 8), file.U32(at + 12)};
    if (!file.Has(range.rva, range.size)) {
      dump.damage = "a memory range's bytes lie outside the file";
      return;
    }
    dump.memory.push_back(range);
  }
}

void ReadException(const Bytes& file, std::uint32_t rva, Dump& dump) {
  DumpException& exception = dump.exception;
  exception = DumpException();  // a second exception stream replaces the first
  exception.threadId = file.U32(rva);
  exception.code = file.U32(rva + 8);
  exception.address = file.U64(rva + 24);
  const std::uint32_t parameters = file.U32(rva + 32);
  for (std::uint32_t i = 0; i < parameters && i < 15; ++i)
    exception.parameters.push_back(file.U64(rva + 40ull + 8 * i));
  exception.contextSize = file.U32(rva + 160);
  exception.contextRva = file.U32(rva + 164);
  if (!file.Has(exception.contextRva, exception.contextSize)) {
    dump.damage = "the faulting thread's context lies outside the file";
    return;
  }
  exception.present = true;
}

}  // namespace

std::uint64_t LittleEndian(const std::uint8_t* bytes, int count) {
  std::uint64_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes[i];
  return value;
}

bool IsMinidump(const std::uint8_t* bytes, std::size_t size) {
  return size >= 4 && std::memcmp(bytes, "MDMP", 4) == 0;
}

Dump ReadDump(const std::uint8_t* bytes, std::size_t size) {
  Dump dump;
  const Bytes file(bytes, size);
  if (!file.Has(0, kHeaderSize)) {
    dump.damage = "the file ends inside the dump's header";
    return dump;
  }
  const std::uint32_t streams = file.U32(8), directory = file.U32(12);
  if (!file.Has(directory, std::uint64_t(streams) * kDirectoryEntrySize)) {
    dump.damage = "the stream directory lies outside the file";
    return dump;
  }
  for (std::uint32_t i = 0; i < streams && dump.damage.empty(); ++i) {
    const std::uint64_t entry = directory + std::uint64_t(i) * kDirectoryEntrySize;
    const std::uint32_t type = file.U32(entry), length = file.U32(entry + 4),
                        rva = file.U32(entry + 8);
    if (type == 0) continue;  // an unused entry
    if (!file.Has(rva, length)) {
      dump.damage = "stream " + std::to_string(i) + " (type " + std::to_string(type) +
                    ") lies outside the file";
      break;
    }
    const bool big = length >= (type == kExceptionStream    ? kExceptionStreamSize
                                : type == kSystemInfoStream ? 2u
                                                            : 4u);
    if (type == kModuleListStream || type == kMemoryListStream || type == kExceptionStream ||
        type == kSystemInfoStream || type == kThreadListStream) {
      if (!big) {
        dump.damage = "stream " + std::to_string(i) + " (type " + std::to_string(type) +
                      ") is too short for what it holds";
        break;
      }
    }
    if (type == kModuleListStream) ReadModules(file, rva, length, dump);
    if (type == kMemoryListStream) ReadMemoryList(file, rva, length, dump);
    if (type == kExceptionStream) ReadException(file, rva, dump);
    if (type == kSystemInfoStream) {
      const std::uint16_t architecture = file.U16(rva);
      dump.machine = architecture == 0   ? DumpMachine::kX86
                     : architecture == 9 ? DumpMachine::kX64
                                         : DumpMachine::kUnknown;
    }
  }
  // The thread's own instruction pointer, once the processor is known.
  DumpException& exception = dump.exception;
  const bool x64 = dump.machine == DumpMachine::kX64;
  if (exception.present && dump.machine != DumpMachine::kUnknown &&
      exception.contextSize >= (x64 ? kX64ContextSize : kX86ContextSize)) {
    exception.instructionPointer =
        LittleEndian(bytes + exception.contextRva + (x64 ? kX64Rip : kX86Eip), x64 ? 8 : 4);
    exception.hasInstructionPointer = true;
  }
  return dump;
}

bool ReadDumpMemory(const Dump& dump, const std::uint8_t* bytes, std::size_t fileSize,
                    std::uint64_t address, void* to, std::uint32_t size) {
  for (const DumpMemory& range : dump.memory) {
    if (address < range.start || address - range.start > range.size ||
        size > range.size - (address - range.start))
      continue;
    const std::uint64_t at = range.rva + (address - range.start);
    if (!Bytes(bytes, fileSize).Has(at, size)) return false;
    std::memcpy(to, bytes + at, size);
    return true;
  }
  return false;
}

bool ReadImageBytes(const std::vector<std::uint8_t>& image, std::uint64_t rva, void* to,
                    std::uint32_t size) {
  const Bytes file(image.data(), image.size());
  if (!file.Has(0, 0x40)) return false;
  const std::uint32_t pe = file.U32(0x3C);
  if (!file.Has(pe, 24)) return false;
  const std::uint32_t sections = file.U16(pe + 6), optional = file.U16(pe + 20);
  const std::uint64_t table = pe + 24ull + optional;
  if (!file.Has(table, sections * 40ull) || !file.Has(pe + 24ull, 64)) return false;
  std::uint64_t at = rva;  // the headers lie in memory as in the file
  if (rva >= file.U32(pe + 24 + 60)) {
    at = ~0ull;
    for (std::uint32_t i = 0; i < sections; ++i) {
      const std::uint64_t section = table + 40ull * i;
      const std::uint32_t address = file.U32(section + 12), raw = file.U32(section + 16);
      if (rva >= address && rva - address < raw && size <= raw - (rva - address))
        at = file.U32(section + 20) + (rva - address);
    }
  }
  if (!file.Has(at, size)) return false;
  std::memcpy(to, image.data() + at, size);
  return true;
}

bool ImageMatches(const std::vector<std::uint8_t>& image, const DumpModule& module) {
  const Bytes file(image.data(), image.size());
  if (!file.Has(0, 0x40)) return false;
  const std::uint32_t pe = file.U32(0x3C);
  return file.Has(pe, 24 + 60) && file.U32(pe) == 0x4550 &&  // "PE\0\0"
         file.U32(pe + 8) == module.timeStamp && file.U32(pe + 24 + 56) == module.size;
}
