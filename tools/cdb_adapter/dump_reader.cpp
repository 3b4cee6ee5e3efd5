#include "dump_reader.h"

#include <algorithm>
#include <cstring>

namespace {

using namespace minidump;

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
  if (!file.Has(rva, kStringText)) return false;
  const std::uint32_t length = file.U32(rva + kStringLength);
  if (!file.Has(rva + kStringText, length)) return false;
  name.clear();
  for (std::uint32_t i = 0; i + 1 < length; i += 2) {
    const std::uint16_t c = file.U16(rva + kStringText + i);
    name += static_cast<char>(c < 0x80 ? c : '?');
  }
  return true;
}

// Reads each entry of a list stream of `size` bytes with `read`, which
// takes the entry's offset and says false once it found damage. A count of
// more entries than the stream holds is damage (`tooMany`).
template <typename Read>
void ReadList(const Bytes& file, std::uint32_t rva, std::uint32_t size, std::uint32_t entrySize,
              const char* tooMany, Dump& dump, Read read) {
  const std::uint32_t count = file.U32(rva);
  if ((size - std::uint64_t(kListCountSize)) / entrySize < count) {
    dump.damage = tooMany;
    return;
  }
  for (std::uint32_t i = 0; i < count; ++i)
    if (!read(rva + kListCountSize + std::uint64_t(i) * entrySize)) return;
}

void ReadModules(const Bytes& file, std::uint32_t rva, std::uint32_t size, Dump& dump) {
  ReadList(file, rva, size, kModuleSize,
           "the module list counts more modules than its stream holds", dump,
           [&](std::uint64_t at) {
             DumpModule module;
             module.base = file.U64(at + kModuleBase);
             module.size = file.U32(at + kModuleImageSize);
             module.timeStamp = file.U32(at + kModuleTimeStamp);
             if (!ReadName(file, file.U32(at + kModuleName), module.path)) {
               dump.damage = "a module's name lies outside the file";
               return false;
             }
             dump.modules.push_back(module);
             return true;
           });
}

void ReadMemoryList(const Bytes& file, std::uint32_t rva, std::uint32_t size, Dump& dump) {
  ReadList(file, rva, size, kMemoryDescriptorSize,
           "the memory list counts more ranges than its stream holds", dump, [&](std::uint64_t at) {
             const DumpMemory range = {file.U64(at + kMemoryStart), file.U32(at + kMemoryLength),
                                       file.U32(at + kMemoryRva)};
             if (!file.Has(range.rva, range.size)) {
               dump.damage = "a memory range's bytes lie outside the file";
               return false;
             }
             dump.memory.push_back(range);
             return true;
           });
}

void ReadException(const Bytes& file, std::uint32_t rva, Dump& dump) {
  DumpException& exception = dump.exception;
  exception = DumpException();  // a second exception stream replaces the first
  exception.threadId = file.U32(rva + kExceptionThreadId);
  exception.code = file.U32(rva + kExceptionCode);
  exception.address = file.U64(rva + kExceptionAddress);
  const std::uint32_t parameters = file.U32(rva + kExceptionParameterCount);
  for (std::uint32_t i = 0; i < parameters && i < kMostExceptionParameters; ++i)
    exception.parameters.push_back(file.U64(rva + kExceptionParameters + 8ull * i));
  exception.contextSize = file.U32(rva + kExceptionContextSize);
  exception.contextRva = file.U32(rva + kExceptionContextRva);
  if (!file.Has(exception.contextRva, exception.contextSize)) {
    dump.damage = "the faulting thread's context lies outside the file";
    return;
  }
  exception.present = true;
}

// A PE file's headers: where its section table lies and what the adapter
// checks, all inside the file; `valid` false when they are not.
struct PeHeaders {
  bool valid = false;
  std::uint32_t timeStamp = 0, sizeOfImage = 0, sizeOfHeaders = 0, sections = 0;
  std::uint64_t sectionTable = 0;
};

PeHeaders ReadPeHeaders(const Bytes& file) {
  PeHeaders headers;
  if (!file.Has(0, pe::kDosHeaderSize)) return headers;
  const std::uint32_t signature = file.U32(pe::kDosPeOffset);
  const std::uint64_t optional = signature + std::uint64_t(pe::kOptionalHeader);
  if (!file.Has(signature, pe::kOptionalHeader) || !file.Has(optional, pe::kSizeOfHeaders + 4) ||
      file.U32(signature) != pe::kSignature)
    return headers;
  headers.sections = file.U16(signature + pe::kSectionCount);
  headers.sectionTable = optional + file.U16(signature + pe::kOptionalHeaderSize);
  if (!file.Has(headers.sectionTable, std::uint64_t(headers.sections) * pe::kSectionSize))
    return headers;
  headers.timeStamp = file.U32(signature + pe::kTimeStamp);
  headers.sizeOfImage = file.U32(optional + pe::kSizeOfImage);
  headers.sizeOfHeaders = file.U32(optional + pe::kSizeOfHeaders);
  headers.valid = true;
  return headers;
}

}  // namespace

std::uint64_t LittleEndian(const std::uint8_t* bytes, int count) {
  std::uint64_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes[i];
  return value;
}

bool IsMinidump(const std::uint8_t* bytes, std::size_t size) {
  return size >= 4 && LittleEndian(bytes, 4) == kSignature;
}

Dump ReadDump(const std::uint8_t* bytes, std::size_t size) {
  Dump dump;
  const Bytes file(bytes, size);
  if (!file.Has(0, kHeaderSize)) {
    dump.damage = "the file ends inside the dump's header";
    return dump;
  }
  const std::uint32_t streams = file.U32(kHeaderStreamCount),
                      directory = file.U32(kHeaderDirectory);
  if (!file.Has(directory, std::uint64_t(streams) * kEntrySize)) {
    dump.damage = "the stream directory lies outside the file";
    return dump;
  }
  for (std::uint32_t i = 0; i < streams && dump.damage.empty(); ++i) {
    const std::uint64_t entry = directory + std::uint64_t(i) * kEntrySize;
    const std::uint32_t type = file.U32(entry + kEntryType),
                        length = file.U32(entry + kEntryLength), rva = file.U32(entry + kEntryRva);
    if (type == kUnusedStream) continue;
    if (!file.Has(rva, length)) {
      dump.damage = "stream " + std::to_string(i) + " (type " + std::to_string(type) +
                    ") lies outside the file";
      break;
    }
    const bool big = length >= (type == kExceptionStream    ? kExceptionStreamSize
                                : type == kSystemInfoStream ? kSystemInfoLeast
                                                            : kListCountSize);
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
      const std::uint16_t architecture = file.U16(rva + kSystemInfoArchitecture);
      dump.machine = architecture == kArchitectureX86     ? DumpMachine::kX86
                     : architecture == kArchitectureAmd64 ? DumpMachine::kX64
                                                          : DumpMachine::kUnknown;
    }
  }
  // The thread's own instruction pointer, once the processor is known.
  DumpException& exception = dump.exception;
  const ContextLayout context = ContextLayoutOf(dump.machine);
  if (exception.present && context.size && exception.contextSize >= context.size) {
    exception.instructionPointer =
        LittleEndian(bytes + exception.contextRva + context.ip, context.width);
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
  const PeHeaders headers = ReadPeHeaders(file);
  if (!headers.valid) return false;
  std::uint64_t at = rva;  // the headers lie in memory as in the file
  if (rva >= headers.sizeOfHeaders) {
    at = ~0ull;
    for (std::uint32_t i = 0; i < headers.sections; ++i) {
      const std::uint64_t section = headers.sectionTable + std::uint64_t(pe::kSectionSize) * i;
      const std::uint32_t address = file.U32(section + pe::kSectionAddress),
                          raw = file.U32(section + pe::kSectionRawSize);
      if (rva >= address && rva - address < raw && size <= raw - (rva - address))
        at = file.U32(section + pe::kSectionRawOffset) + (rva - address);
    }
  }
  if (!file.Has(at, size)) return false;
  std::memcpy(to, image.data() + at, size);
  return true;
}

std::uint64_t ImageExtent(const std::vector<std::uint8_t>& headers, const DumpModule& module) {
  const Bytes file(headers.data(), headers.size());
  const PeHeaders pe = ReadPeHeaders(file);
  if (!pe.valid || pe.timeStamp != module.timeStamp || pe.sizeOfImage != module.size ||
      module.size > kLargestImage)
    return 0;
  std::uint64_t end = pe.sizeOfHeaders;
  for (std::uint32_t i = 0; i < pe.sections; ++i) {
    const std::uint64_t section = pe.sectionTable + std::uint64_t(pe::kSectionSize) * i;
    const std::uint32_t raw = file.U32(section + pe::kSectionRawSize);
    if (raw) end = std::max(end, file.U32(section + pe::kSectionRawOffset) + std::uint64_t(raw));
  }
  return end <= module.size ? end : 0;
}

ContextLayout ContextLayoutOf(DumpMachine machine) {
  if (machine == DumpMachine::kX64)
    return {x64_context::kSize, x64_context::kRip, x64_context::kRsp, x64_context::kRbp, 8};
  if (machine == DumpMachine::kX86)
    return {x86_context::kSize, x86_context::kEip, x86_context::kEsp, x86_context::kEbp, 4};
  return {0, 0, 0, 0, 0};
}
