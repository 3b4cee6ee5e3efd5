// Composes minidumps byte by byte for the tests: the streams the adapter
// reads, with a stack whose frame-pointer chain is known. Where no 32-bit
// program can run, this is how an x86 dump gets made. No windows.h.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "../../tools/cdb_adapter/dump_layout.h"

namespace composed {

// An x86 crash three calls deep in crashy.exe, built with frame pointers:
// main -> Outer -> Middle -> CrashHere, which writes to address 0.
constexpr std::uint32_t kExeBase = 0x00400000, kExeSize = 0x10000;
constexpr std::uint32_t kKernelBase = 0x7c800000, kKernelSize = 0xf6000;
constexpr std::uint32_t kCrashHere = 0x1000, kMiddle = 0x1100, kOuter = 0x1200, kMain = 0x1300;
constexpr std::uint32_t kThreadStart = 0x17077;  // in kernel32, where main returns to
constexpr std::uint32_t kStack = 0x0012ff00, kStackSize = 0x100;
constexpr std::uint32_t kThreadId = 0x1a4, kExeTimeStamp = 0x4B455354;

class Writer {
 public:
  std::uint32_t Here() const { return static_cast<std::uint32_t>(bytes.size()); }
  void U16(std::uint32_t v) { Put(v, 2); }
  void U32(std::uint32_t v) { Put(v, 4); }
  void U64(std::uint64_t v) { Put(v, 8); }
  void Zeros(std::size_t n) { bytes.insert(bytes.end(), n, 0); }
  void Set32(std::uint64_t at, std::uint32_t v) { Set(at, v, 4); }
  void Set64(std::uint64_t at, std::uint64_t v) { Set(at, v, 8); }
  void Name(const std::string& text) {  // MINIDUMP_STRING
    U32(static_cast<std::uint32_t>(2 * text.size()));
    for (char c : text) U16(static_cast<unsigned char>(c));
    U16(0);
  }
  std::vector<std::uint8_t> bytes;

 private:
  void Put(std::uint64_t v, int n) {
    for (int i = 0; i < n; ++i) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void Set(std::uint64_t at, std::uint64_t v, int n) {
    for (int i = 0; i < n; ++i) bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  }
};

// What a composed dump holds, one thread's crash.
struct Module {
  std::uint64_t base;
  std::uint32_t size, timeStamp;
  std::string path;
};
struct Crash {
  std::uint16_t architecture;  // the system info's: minidump::kArchitecture...
  std::vector<Module> modules;
  std::uint64_t stackStart;
  std::vector<std::uint8_t> stack;
  std::vector<std::uint8_t> context;  // the CONTEXT record, as Windows writes it
  std::uint32_t code;
  std::uint64_t address;  // where the exception record says it happened
  std::vector<std::uint64_t> parameters;
};

// The whole dump: its directory's entries point at the system info, module
// list, memory list and exception streams, in that order.
inline std::vector<std::uint8_t> Compose(const Crash& crash) {
  using namespace minidump;
  Writer w;
  const std::uint32_t kStreams = 4;
  w.U32(kSignature);
  w.U32(0xA793);  // the format's version
  w.U32(kStreams);
  w.U32(kHeaderSize);  // the directory follows the header
  w.U32(0);
  w.U32(kExeTimeStamp);
  w.U64(0);
  const std::uint32_t directory = w.Here();
  w.Zeros(kEntrySize * kStreams);
  auto entry = [&](std::uint32_t i, std::uint32_t type, std::uint32_t rva, std::uint32_t size) {
    w.Set32(directory + kEntrySize * i + kEntryType, type);
    w.Set32(directory + kEntrySize * i + kEntryLength, size);
    w.Set32(directory + kEntrySize * i + kEntryRva, rva);
  };

  std::uint32_t at = w.Here();
  w.U16(crash.architecture);
  w.Zeros(54);  // the rest of MINIDUMP_SYSTEM_INFO
  entry(0, kSystemInfoStream, at, w.Here() - at);

  std::vector<std::uint32_t> nameRva;
  for (const Module& module : crash.modules) {
    nameRva.push_back(w.Here());
    w.Name(module.path);
  }
  at = w.Here();
  w.U32(static_cast<std::uint32_t>(crash.modules.size()));
  for (std::size_t i = 0; i < crash.modules.size(); ++i) {
    const std::uint32_t record = w.Here();
    w.Zeros(kModuleSize);
    w.Set64(record + kModuleBase, crash.modules[i].base);
    w.Set32(record + kModuleImageSize, crash.modules[i].size);
    w.Set32(record + kModuleTimeStamp, crash.modules[i].timeStamp);
    w.Set32(record + kModuleName, nameRva[i]);
  }
  entry(1, kModuleListStream, at, w.Here() - at);

  const std::uint32_t stackRva = w.Here();
  w.bytes.insert(w.bytes.end(), crash.stack.begin(), crash.stack.end());
  at = w.Here();  // one range: the stack
  w.U32(1);
  w.Zeros(kMemoryDescriptorSize);
  w.Set64(at + kListCountSize + kMemoryStart, crash.stackStart);
  w.Set32(at + kListCountSize + kMemoryLength, static_cast<std::uint32_t>(crash.stack.size()));
  w.Set32(at + kListCountSize + kMemoryRva, stackRva);
  entry(2, kMemoryListStream, at, w.Here() - at);

  const std::uint32_t context = w.Here();
  w.bytes.insert(w.bytes.end(), crash.context.begin(), crash.context.end());
  at = w.Here();
  w.Zeros(kExceptionStreamSize);
  w.Set32(at + kExceptionThreadId, kThreadId);
  w.Set32(at + kExceptionCode, crash.code);
  w.Set64(at + kExceptionAddress, crash.address);
  w.Set32(at + kExceptionParameterCount, static_cast<std::uint32_t>(crash.parameters.size()));
  for (std::size_t i = 0; i < crash.parameters.size(); ++i)
    w.Set64(static_cast<std::uint32_t>(at + kExceptionParameters + 8 * i), crash.parameters[i]);
  w.Set32(at + kExceptionContextSize, static_cast<std::uint32_t>(crash.context.size()));
  w.Set32(at + kExceptionContextRva, context);
  entry(3, kExceptionStream, at, w.Here() - at);
  return w.bytes;
}

inline void Put(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint64_t value, int n) {
  for (int i = 0; i < n; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline std::vector<std::uint8_t> X86CrashDump() {
  Crash crash = {minidump::kArchitectureX86,
                 {{kExeBase, kExeSize, kExeTimeStamp, "C:\\composed\\crashy.exe"},
                  {kKernelBase, kKernelSize, 0x4802A12C, "C:\\WINDOWS\\system32\\kernel32.dll"}},
                 kStack,
                 std::vector<std::uint8_t>(kStackSize, 0),
                 std::vector<std::uint8_t>(x86_context::kSize, 0),
                 0xC0000005,
                 kExeBase + kCrashHere + 5,
                 {1, 0}};  // a write to address 0
  // The stack: each frame's saved ebp, then its return address.
  const std::uint32_t frames[][2] = {{kStack + 0x30, kExeBase + kMiddle + 0x10},
                                     {kStack + 0x50, kExeBase + kOuter + 0x10},
                                     {kStack + 0x70, kExeBase + kMain + 0x10},
                                     {kStack + 0x90, kKernelBase + kThreadStart},
                                     // The thread's start: no frame above, as Windows sets it up.
                                     {0, 0}};
  std::uint32_t ebp = kStack + 0x10;
  for (const auto& frame : frames) {
    Put(crash.stack, ebp - kStack, frame[0], 4);
    Put(crash.stack, ebp - kStack + 4, frame[1], 4);
    ebp = frame[0];
  }
  using namespace x86_context;
  const std::pair<std::size_t, std::uint32_t> registers[] = {{kFlags, 0x1003f},  // all
                                                             {kEax, 0x11111111},
                                                             {kEbx, 0x22222222},
                                                             {kEcx, 0},
                                                             {kEdx, 0x44444444},
                                                             {kEsi, 0x55555555},
                                                             {kEdi, 0x66666666},
                                                             {kEip, kExeBase + kCrashHere + 5},
                                                             {kEsp, kStack + 0x08},
                                                             {kEbp, kStack + 0x10},
                                                             {kEflags, 0x00010246},  // zr pe
                                                             {kCs, 0x1b},
                                                             {kSs, 0x23},
                                                             {kDs, 0x23},
                                                             {kEs, 0x23},
                                                             {kFs, 0x3b},
                                                             {kGs, 0}};
  for (const auto& [offset, value] : registers) Put(crash.context, offset, value, 4);
  return Compose(crash);
}

// An x64 invalid-parameter crash as a crash reporter on Windows 10 writes it:
// the reporter raised the exception itself, so the record carries address
// 0, and the thread stopped in CrashTest.exe. None of the modules' images is
// on this machine, so x64 unwinding, which needs their unwind data, finds no
// caller; the stack holds values that point into the modules all the same.
constexpr std::uint64_t kX64ExeBase = 0x7ff6a1230000, kX64NtdllBase = 0x7ffd47e80000;
constexpr std::uint32_t kX64Fault = 0x7a9a3;
constexpr std::uint64_t kX64Stack = 0xbd4f7ff000;

inline std::vector<std::uint8_t> X64CrashDumpWithoutImages() {
  Crash crash = {minidump::kArchitectureAmd64,
                 {{kX64ExeBase, 0x1a6000, 0x5f1e2b3c, "C:\\Users\\ann\\CrashTest\\CrashTest.exe"},
                  {kX64NtdllBase, 0x1f8000, 0x6ab4c1d2, "C:\\Windows\\System32\\ntdll.dll"}},
                 kX64Stack,
                 std::vector<std::uint8_t>(0x200, 0),
                 std::vector<std::uint8_t>(x64_context::kSize, 0),
                 0xC000000D,
                 0,
                 {}};
  for (std::size_t at = 0x28; at < 0x200; at += 0x48)
    Put(crash.stack, at, kX64ExeBase + at * 16, 8);
  using namespace x64_context;
  Put(crash.context, kFlags, 0x10001f, 4);  // all
  Put(crash.context, kRip, kX64ExeBase + kX64Fault, 8);
  Put(crash.context, kRsp, kX64Stack + 0x20, 8);
  Put(crash.context, kRbp, 0, 8);  // no frame pointer on x64
  Put(crash.context, kEflags, 0x244, 4);
  crash.context[kCs] = 0x33;
  return Compose(crash);
}

}  // namespace composed
