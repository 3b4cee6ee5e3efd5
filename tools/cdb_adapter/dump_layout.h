// The layouts the adapter reads, as Windows writes them: the minidump's
// header, directory and streams, the x86 and x64 thread contexts (CONTEXT)
// and the PE headers of module images. Each offset is from the start of its
// record, in bytes; every number is little-endian. No windows.h: the reader,
// the analysis, the tests' dump composer and the tests share these.
#pragma once
#include <cstddef>
#include <cstdint>

namespace minidump {

// MINIDUMP_HEADER
constexpr std::uint32_t kSignature = 0x504D444D;  // "MDMP"
constexpr std::uint32_t kHeaderSize = 32;
constexpr std::size_t kHeaderStreamCount = 8, kHeaderDirectory = 12, kHeaderTimeStamp = 20;

// MINIDUMP_DIRECTORY: one entry a stream.
constexpr std::uint32_t kEntrySize = 12;
constexpr std::size_t kEntryType = 0, kEntryLength = 4, kEntryRva = 8;

// The stream types the adapter reads (0: an unused entry).
enum StreamType : std::uint32_t {
  kUnusedStream = 0,
  kThreadListStream = 3,
  kModuleListStream = 4,
  kMemoryListStream = 5,
  kExceptionStream = 6,
  kSystemInfoStream = 7,
};

// A list stream: a 32-bit count, then its entries.
constexpr std::uint32_t kListCountSize = 4;

// MINIDUMP_MODULE
constexpr std::uint32_t kModuleSize = 108;
constexpr std::size_t kModuleBase = 0, kModuleImageSize = 8, kModuleTimeStamp = 16,
                      kModuleName = 20;

// MINIDUMP_MEMORY_DESCRIPTOR
constexpr std::uint32_t kMemoryDescriptorSize = 16;
constexpr std::size_t kMemoryStart = 0, kMemoryLength = 8, kMemoryRva = 12;

// MINIDUMP_EXCEPTION_STREAM, its MINIDUMP_EXCEPTION record inside it.
constexpr std::uint32_t kExceptionStreamSize = 168, kMostExceptionParameters = 15;
constexpr std::size_t kExceptionThreadId = 0, kExceptionCode = 8, kExceptionAddress = 24,
                      kExceptionParameterCount = 32, kExceptionParameters = 40,
                      kExceptionContextSize = 160, kExceptionContextRva = 164;

// MINIDUMP_SYSTEM_INFO: the processor architecture comes first.
constexpr std::uint32_t kSystemInfoLeast = 2;
constexpr std::size_t kSystemInfoArchitecture = 0;
constexpr std::uint16_t kArchitectureX86 = 0, kArchitectureAmd64 = 9;

// MINIDUMP_STRING: its byte length, then UTF-16.
constexpr std::size_t kStringLength = 0, kStringText = 4;

}  // namespace minidump

// The x86 CONTEXT record.
namespace x86_context {
constexpr std::uint32_t kSize = 716;
constexpr std::size_t kFlags = 0x00;
constexpr std::size_t kGs = 0x8C, kFs = 0x90, kEs = 0x94, kDs = 0x98;
constexpr std::size_t kEdi = 0x9C, kEsi = 0xA0, kEbx = 0xA4, kEdx = 0xA8, kEcx = 0xAC, kEax = 0xB0;
constexpr std::size_t kEbp = 0xB4, kEip = 0xB8, kCs = 0xBC, kEflags = 0xC0, kEsp = 0xC4, kSs = 0xC8;
}  // namespace x86_context

// The x64 CONTEXT record.
namespace x64_context {
constexpr std::uint32_t kSize = 1232;
constexpr std::size_t kFlags = 0x30;
constexpr std::size_t kCs = 0x38, kDs = 0x3A, kEs = 0x3C, kFs = 0x3E, kGs = 0x40, kSs = 0x42;
constexpr std::size_t kEflags = 0x44;
constexpr std::size_t kRax = 0x78, kRcx = 0x80, kRdx = 0x88, kRbx = 0x90, kRsp = 0x98, kRbp = 0xA0,
                      kRsi = 0xA8, kRdi = 0xB0, kR8 = 0xB8, kR9 = 0xC0, kR10 = 0xC8, kR11 = 0xD0,
                      kR12 = 0xD8, kR13 = 0xE0, kR14 = 0xE8, kR15 = 0xF0, kRip = 0xF8;
}  // namespace x64_context

// A PE image: the DOS header points at the PE signature, the file header
// follows it, then the optional header, then the section table.
namespace pe {
constexpr std::size_t kDosHeaderSize = 0x40, kDosPeOffset = 0x3C;
constexpr std::uint32_t kSignature = 0x4550;  // "PE\0\0"
// From the PE signature.
constexpr std::size_t kSectionCount = 6, kTimeStamp = 8, kOptionalHeaderSize = 20;
constexpr std::size_t kOptionalHeader = 24;
// From the optional header, the same in PE32 and PE32+.
constexpr std::size_t kSizeOfImage = 56, kSizeOfHeaders = 60;
// IMAGE_SECTION_HEADER
constexpr std::uint32_t kSectionSize = 40;
constexpr std::size_t kSectionAddress = 12, kSectionRawSize = 16, kSectionRawOffset = 20;
}  // namespace pe
