// Reads a minidump's directory and the streams the adapter shows, from the
// file's bytes, checking every offset and count against the file's size
// first. No windows.h: host-tested and fuzzed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "dump_layout.h"

enum class DumpMachine { kUnknown, kX86, kX64 };

struct DumpModule {
  std::uint64_t base = 0;
  std::uint32_t size = 0;
  std::uint32_t timeStamp = 0;
  std::string path;  // as the dump names it, narrowed to ASCII
};

// A run of the process's memory that the dump holds.
struct DumpMemory {
  std::uint64_t start = 0;
  std::uint32_t size = 0;
  std::uint32_t rva = 0;  // where its bytes lie in the file
};

struct DumpException {
  bool present = false;
  std::uint32_t threadId = 0;
  std::uint32_t code = 0;
  std::uint64_t address = 0;
  std::vector<std::uint64_t> parameters;
  std::uint32_t contextRva = 0, contextSize = 0;  // the thread's context at the fault
  // eip or rip in that context, where it holds one of a processor known here.
  bool hasInstructionPointer = false;
  std::uint64_t instructionPointer = 0;
};

struct Dump {
  std::string damage;  // what is damaged, empty when the dump reads whole
  DumpMachine machine = DumpMachine::kUnknown;
  std::vector<DumpModule> modules;  // in the dump's order
  std::vector<DumpMemory> memory;
  DumpException exception;
};

// The unsigned number in `count` little-endian bytes, as the format stores them.
std::uint64_t LittleEndian(const std::uint8_t* bytes, int count);

// Whether the bytes begin as a minidump does ("MDMP").
bool IsMinidump(const std::uint8_t* bytes, std::size_t size);

// Reads a minidump (IsMinidump holds). A damaged dump comes back with
// `damage` saying what, and what was read before it.
Dump ReadDump(const std::uint8_t* bytes, std::size_t size);

// Copies `size` bytes of the process's memory at `address` from the dump;
// false unless all of them are in it.
bool ReadDumpMemory(const Dump& dump, const std::uint8_t* bytes, std::size_t fileSize,
                    std::uint64_t address, void* to, std::uint32_t size);

// Copies `size` bytes at `rva` of a module as it lies in memory, from the
// bytes of its image file (a PE file); false unless all are in the file.
bool ReadImageBytes(const std::vector<std::uint8_t>& image, std::uint64_t rva, void* to,
                    std::uint32_t size);

// The largest image file the adapter reads: a dump's module record may name
// any file, a device or one of many gigabytes among them.
inline constexpr std::uint32_t kLargestImage = 256u << 20;

// How much of a module's image file to read, from its first bytes
// (`headers`, its PE headers among them): up to the end of what its headers
// and sections place. 0 when the headers are not the module's (another time
// stamp or size of image: a file of the same path from another machine or
// Windows version), or place bytes past its size of image, or that size is
// over kLargestImage.
std::uint64_t ImageExtent(const std::vector<std::uint8_t>& headers, const DumpModule& module);

// Where the dump's processor keeps its pointers in a thread's context:
// size 0 for a processor not known here.
struct ContextLayout {
  std::uint32_t size;
  std::size_t ip, sp, fp;  // instruction, stack and frame pointer
  int width;               // their size in bytes
};
ContextLayout ContextLayoutOf(DumpMachine machine);
