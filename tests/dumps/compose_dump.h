// Composes minidumps byte by byte for the tests: the streams the adapter
// reads, with a stack whose frame-pointer chain is known. Where no 32-bit
// program can run, this is how an x86 dump gets made. No windows.h.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

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
  void Set32(std::uint32_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  }
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
};

// The whole dump; `streams` entries point at the system info, module list,
// memory list and exception streams, in that order.
inline std::vector<std::uint8_t> X86CrashDump() {
  Writer w;
  const std::uint32_t kStreams = 4;
  w.bytes = {'M', 'D', 'M', 'P'};
  w.U32(0xA793);
  w.U32(kStreams);
  w.U32(32);  // the directory follows the header
  w.U32(0);
  w.U32(kExeTimeStamp);
  w.U64(0);
  const std::uint32_t directory = w.Here();
  w.Zeros(12 * kStreams);
  auto entry = [&](std::uint32_t i, std::uint32_t type, std::uint32_t rva, std::uint32_t size) {
    w.Set32(directory + 12 * i, type);
    w.Set32(directory + 12 * i + 4, size);
    w.Set32(directory + 12 * i + 8, rva);
  };

  std::uint32_t at = w.Here();  // system info: x86
  w.U16(0);
  w.Zeros(54);
  entry(0, 7, at, w.Here() - at);

  const std::string names[] = {"C:\\composed\\crashy.exe", "C:\\WINDOWS\\system32\\kernel32.dll"};
  std::uint32_t nameRva[2];
  for (int i = 0; i < 2; ++i) {
    nameRva[i] = w.Here();
    w.Name(names[i]);
  }
  at = w.Here();  // module list
  w.U32(2);
  const std::uint32_t bases[] = {kExeBase, kKernelBase}, sizes[] = {kExeSize, kKernelSize},
                      stamps[] = {kExeTimeStamp, 0x4802A12C};
  for (int i = 0; i < 2; ++i) {
    w.U64(bases[i]);
    w.U32(sizes[i]);
    w.U32(0);
    w.U32(stamps[i]);
    w.U32(nameRva[i]);
    w.Zeros(108 - 24);
  }
  entry(1, 4, at, w.Here() - at);

  // The stack: each frame's saved ebp, then its return address.
  const std::uint32_t stackRva = w.Here();
  std::vector<std::uint32_t> stack(kStackSize / 4, 0);
  const std::uint32_t frames[][2] = {{kStack + 0x30, kExeBase + kMiddle + 0x10},
                                     {kStack + 0x50, kExeBase + kOuter + 0x10},
                                     {kStack + 0x70, kExeBase + kMain + 0x10},
                                     {kStack + 0x90, kKernelBase + kThreadStart},
                                     // The thread's start: no frame above, as Windows sets it up.
                                     {0, 0}};
  std::uint32_t ebp = kStack + 0x10;
  for (const auto& frame : frames) {
    stack[(ebp - kStack) / 4] = frame[0];
    stack[(ebp - kStack) / 4 + 1] = frame[1];
    ebp = frame[0];
  }
  for (std::uint32_t word : stack) w.U32(word);
  at = w.Here();  // memory list: the stack
  w.U32(1);
  w.U64(kStack);
  w.U32(kStackSize);
  w.U32(stackRva);
  entry(2, 5, at, w.Here() - at);

  const std::uint32_t context = w.Here();  // x86 CONTEXT, 716 bytes
  w.Zeros(716);
  const std::pair<std::uint32_t, std::uint32_t> registers[] = {
      {0x00, 0x1003f},  // ContextFlags: all
      {0xB0, 0x11111111},
      {0xA4, 0x22222222},
      {0xAC, 0},  // eax ebx ecx
      {0xA8, 0x44444444},
      {0xA0, 0x55555555},
      {0x9C, 0x66666666},                 // edx esi edi
      {0xB8, kExeBase + kCrashHere + 5},  // eip
      {0xC4, kStack + 0x08},
      {0xB4, kStack + 0x10},  // esp ebp
      {0xC0, 0x00010246},     // efl: zr pe
      {0xBC, 0x1b},
      {0xC8, 0x23},
      {0x98, 0x23},
      {0x94, 0x23},
      {0x90, 0x3b},
      {0x8C, 0}};
  for (const auto& [offset, value] : registers) w.Set32(context + offset, value);
  at = w.Here();  // exception stream
  w.U32(kThreadId);
  w.U32(0);
  w.U32(0xC0000005);
  w.U32(0);
  w.U64(0);
  w.U64(kExeBase + kCrashHere + 5);
  w.U32(2);
  w.U32(0);
  w.U64(1);  // a write
  w.U64(0);  // to address 0
  w.Zeros(13 * 8);
  w.U32(716);
  w.U32(context);
  entry(3, 6, at, w.Here() - at);
  return w.bytes;
}

}  // namespace composed
