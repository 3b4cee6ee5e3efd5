// The adapter's reading of a dump: a composed x86 crash read whole, the
// same dump damaged in each way the reader must catch, the registers and
// modules as cdb lays them out.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "../../tools/cdb_adapter/analysis.h"
#include "../../tools/cdb_adapter/dump_reader.h"
#include "../dumps/compose_dump.h"

namespace {

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t(b[at + 3]) << 24;
}
void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
// Where directory entry `i` of a composed dump lies (0 system info, 1
// modules, 2 memory, 3 exception).
std::size_t Entry(int i) { return minidump::kHeaderSize + minidump::kEntrySize * i; }

// An exact-size copy, so AddressSanitizer sees any read past the end.
Dump Read(const std::vector<std::uint8_t>& bytes) {
  const std::vector<std::uint8_t> copy(bytes);
  return ReadDump(copy.data(), copy.size());
}

TEST(DumpReader, ReadsAComposedX86CrashWhole) {
  const std::vector<std::uint8_t> bytes = composed::X86CrashDump();
  ASSERT_TRUE(IsMinidump(bytes.data(), bytes.size()));
  const Dump dump = Read(bytes);
  EXPECT_EQ(dump.damage, "");
  EXPECT_EQ(dump.machine, DumpMachine::kX86);
  ASSERT_EQ(dump.modules.size(), 2u);
  EXPECT_EQ(dump.modules[0].path, "C:\\composed\\crashy.exe");
  EXPECT_EQ(dump.modules[0].base, composed::kExeBase);
  EXPECT_EQ(dump.modules[0].size, composed::kExeSize);
  EXPECT_EQ(dump.modules[0].timeStamp, composed::kExeTimeStamp);
  EXPECT_EQ(dump.modules[1].path, "C:\\WINDOWS\\system32\\kernel32.dll");
  ASSERT_EQ(dump.memory.size(), 1u);
  EXPECT_EQ(dump.memory[0].start, composed::kStack);
  const DumpException& exception = dump.exception;
  ASSERT_TRUE(exception.present);
  EXPECT_EQ(exception.threadId, composed::kThreadId);
  EXPECT_EQ(exception.code, 0xC0000005u);
  EXPECT_EQ(exception.address, composed::kExeBase + composed::kCrashHere + 5);
  EXPECT_EQ(exception.parameters, (std::vector<std::uint64_t>{1, 0}));
  EXPECT_EQ(exception.contextSize, x86_context::kSize);
  EXPECT_TRUE(exception.hasInstructionPointer);
  EXPECT_EQ(exception.instructionPointer, composed::kExeBase + composed::kCrashHere + 5);
}

// A dump from another machine: x64, its exception raised by the program
// itself (address 0), none of its modules' images here.
TEST(DumpReader, AnX64RecordWithoutAnAddressIsPlacedByTheThread) {
  const std::vector<std::uint8_t> bytes = composed::X64CrashDumpWithoutImages();
  const Dump dump = Read(bytes);
  EXPECT_EQ(dump.damage, "");
  EXPECT_EQ(dump.machine, DumpMachine::kX64);
  ASSERT_TRUE(dump.exception.hasInstructionPointer);
  EXPECT_EQ(dump.exception.address, 0u);
  EXPECT_EQ(dump.exception.instructionPointer, composed::kX64ExeBase + composed::kX64Fault);
  const std::string stack = "(the stack)\n";
  const std::string text = AnalysisText(dump, stack);
  EXPECT_NE(text.find("FAULTING_IP: CrashTest.exe+0x7a9a3 (00007ff6`a12aa9a3)\n"
                      "The exception record carried no address: this is the faulting thread's "
                      "instruction pointer.\n\n"
                      "EXCEPTION_CODE: c000000d (invalid parameter)\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("FAULTING_MODULE: CrashTest.exe\n"), std::string::npos) << text;
  // A record that has its address keeps it, and says nothing more.
  const std::string x86 = AnalysisText(Read(composed::X86CrashDump()), stack);
  EXPECT_NE(x86.find("FAULTING_IP: crashy.exe+0x1005 (00401005)\n\nEXCEPTION_CODE"),
            std::string::npos)
      << x86;
}

TEST(AdapterAnalysis, SaysWhereAndWhyTheStackWalkStopped) {
  const Dump x64 = Read(composed::X64CrashDumpWithoutImages());
  const Dump x86 = Read(composed::X86CrashDump());
  const std::uint64_t fault = composed::kX64ExeBase + composed::kX64Fault;
  const std::string missing = "Stack unwind information not available. The stack cannot be walked ";
  struct Case {
    const Dump* dump;
    std::vector<bool> images;
    std::uint64_t pc;
    int frames;
    std::string text;
  };
  const std::vector<Case> cases = {
      {&x64,
       {false, false},
       fault,
       0,
       missing +
           "past the faulting thread's context (CrashTest.exe+0x7a9a3): the image of "
           "CrashTest.exe (C:\\Users\\ann\\CrashTest\\CrashTest.exe) is not on this machine "
           "with the dump's time stamp and size, and x64 code is unwound with the data in its "
           "image.\n"},
      {&x64,
       {true, false},
       composed::kX64NtdllBase + 0x10,
       2,
       missing + "past frame 1 (ntdll.dll+0x10): the image of ntdll.dll "
                 "(C:\\Windows\\System32\\ntdll.dll) is not on this machine with the dump's time "
                 "stamp and size, and x64 code is unwound with the data in its image.\n"},
      {&x86,
       {false, false},
       composed::kExeBase + 0x1110,
       1,
       missing + "past frame 0 (crashy.exe+0x1110): the image of crashy.exe "
                 "(C:\\composed\\crashy.exe) is not on this machine with the dump's time stamp and "
                 "size, so only frame pointers were there to go by.\n"},
      {&x86,
       {true, true},
       composed::kExeBase + 0x1110,
       1,
       "The stack cannot be walked past frame 0 (crashy.exe+0x1110): no caller was found in the "
       "dump's memory.\n"},
      {&x64,
       {true, true},
       0x1234,
       3,
       "The stack cannot be walked past frame 2 (unknown module): no module of the dump holds "
       "that address.\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(WalkStoppedText(*c.dump, c.images, c.pc, c.frames), c.text) << c.frames;
}

TEST(DumpReader, SaysWhatIsDamaged) {
  using namespace minidump;
  const std::vector<std::uint8_t> whole = composed::X86CrashDump();
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::string damage;
  };
  std::vector<Case> cases;
  auto cut = [&](const char* name, std::size_t size, const char* damage) {
    cases.push_back({name, std::vector<std::uint8_t>(whole.begin(), whole.begin() + size), damage});
  };
  auto changed = [&](const char* name, std::size_t at, std::uint32_t value, const char* damage) {
    std::vector<std::uint8_t> bytes = whole;
    Put32(bytes, at, value);
    cases.push_back({name, bytes, damage});
  };
  cut("cut inside the header", 20, "the file ends inside the dump's header");
  cut("cut inside the directory", 40, "the stream directory lies outside the file");
  cut("cut inside the module list", U32(whole, Entry(1) + kEntryRva) + 10,
      "stream 1 (type 4) lies outside");
  cut("cut before the exception stream", U32(whole, Entry(3) + kEntryRva),
      "stream 3 (type 6) lies outside");
  changed("a stream past the end", Entry(2) + kEntryRva, static_cast<std::uint32_t>(whole.size()),
          "stream 2 (type 5) lies outside");
  changed("a stream length past the end", Entry(0) + kEntryLength, 0xFFFFFF00,
          "stream 0 (type 7) lies outside");
  changed("an impossible module count", U32(whole, Entry(1) + kEntryRva), 0xFFFFFFFF,
          "the module list counts more modules than its stream holds");
  changed("an impossible memory count", U32(whole, Entry(2) + kEntryRva), 0x10000000,
          "the memory list counts more ranges than its stream holds");
  changed("an impossible stream count", kHeaderStreamCount, 0xFFFFFFFF,
          "the stream directory lies outside");
  changed("a module name past the end",
          U32(whole, Entry(1) + kEntryRva) + kListCountSize + kModuleName, 0xFFFFFFF0,
          "a module's name lies outside the file");
  changed("memory bytes past the end",
          U32(whole, Entry(2) + kEntryRva) + kListCountSize + kMemoryRva, 0xFFFFFF00,
          "a memory range's bytes lie outside the file");
  changed("the context past the end", U32(whole, Entry(3) + kEntryRva) + kExceptionContextRva,
          0xFFFFFF00, "the faulting thread's context lies outside the file");
  changed("an exception stream too short", Entry(3) + kEntryLength, 100,
          "stream 3 (type 6) is too short");
  for (const Case& c : cases) {
    const Dump dump = Read(c.bytes);
    EXPECT_NE(dump.damage.find(c.damage), std::string::npos) << c.name << ": " << dump.damage;
  }
}

TEST(DumpReader, ReadsOnlyMemoryTheDumpHolds) {
  const std::vector<std::uint8_t> bytes = composed::X86CrashDump();
  const Dump dump = Read(bytes);
  std::uint32_t word = 0;
  const std::uint32_t end = composed::kStack + composed::kStackSize;
  EXPECT_TRUE(ReadDumpMemory(dump, bytes.data(), bytes.size(), composed::kStack + 0x10, &word, 4));
  EXPECT_EQ(word, composed::kStack + 0x30);  // the first saved frame pointer
  EXPECT_TRUE(ReadDumpMemory(dump, bytes.data(), bytes.size(), end - 4, &word, 4));
  EXPECT_FALSE(ReadDumpMemory(dump, bytes.data(), bytes.size(), end - 2, &word, 4));
  EXPECT_FALSE(ReadDumpMemory(dump, bytes.data(), bytes.size(), composed::kStack - 4, &word, 4));
  EXPECT_FALSE(ReadDumpMemory(dump, bytes.data(), bytes.size(), 0, &word, 4));
}

TEST(DumpReader, RegistersAndModulesAsCdbLaysThemOut) {
  const std::vector<std::uint8_t> bytes = composed::X86CrashDump();
  const Dump dump = Read(bytes);
  EXPECT_EQ(RegistersText(dump.machine, bytes.data() + dump.exception.contextRva,
                          dump.exception.contextSize),
            "eax=11111111 ebx=22222222 ecx=00000000 edx=44444444 esi=55555555 edi=66666666\n"
            "eip=00401005 esp=0012ff08 ebp=0012ff10 iopl=0         nv up ei pl zr na pe nc\n"
            "cs=001b  ss=0023  ds=0023  es=0023  fs=003b  gs=0000             efl=00010246\n");
  EXPECT_EQ(ModulesText(dump.machine, dump.modules),
            "start    end        module name\n"
            "00400000 00410000   crashy   crashy.exe  Thu Jan  7 03:21:56 2010 (4B455354)\n"
            "7c800000 7c8f6000   kernel32 kernel32.dll  Mon Apr 14 00:11:24 2008 (4802A12C)\n");

  // x64: rip, rsp and r8 where the CONTEXT record has them; eflags with ov dn cy, no ei.
  using namespace x64_context;
  std::vector<std::uint8_t> context(kSize, 0);
  Put32(context, kRip, 0x40001530), Put32(context, kRip + 4, 0x1);
  Put32(context, kRsp, 0x0021fcd8);
  Put32(context, kR8, 0x88);
  Put32(context, kEflags, 0xC01);
  context[kCs] = 0x33;
  const std::string x64 = RegistersText(DumpMachine::kX64, context.data(), context.size());
  EXPECT_NE(x64.find("rip=0000000140001530 rsp=000000000021fcd8 rbp=0000000000000000\n"
                     " r8=0000000000000088"),
            std::string::npos)
      << x64;
  EXPECT_NE(x64.find("iopl=0         ov dn di pl nz na po cy\ncs=0033"), std::string::npos) << x64;
  EXPECT_EQ(AddressText(DumpMachine::kX64, 0x140001530), "00000001`40001530");
  // Too short a context for its machine is said, not read past.
  EXPECT_EQ(RegistersText(DumpMachine::kX64, context.data(), 100).find("rip"), std::string::npos);
}

}  // namespace

namespace {

// How much of an image file the adapter reads: what its headers place, and
// nothing of a file that is not the module's or claims more than it may.
TEST(DumpReader, ReadsOfAnImageOnlyWhatItsHeadersPlace) {
  struct Case {
    const char* name;
    std::uint32_t sizeOfImage, timeStamp, rawEnd;  // the headers' claims
    std::uint64_t extent;
  };
  const DumpModule module = [] {
    DumpModule m;
    m.size = 0x30000, m.timeStamp = 0x4B455354;
    return m;
  }();
  const std::vector<Case> cases = {
      {"the module's image", 0x30000, 0x4B455354, 0x2A00, 0x2A00},
      {"another build", 0x30000, 0x4B455355, 0x2A00, 0},
      {"another size", 0x31000, 0x4B455354, 0x2A00, 0},
      {"sections past the size of image", 0x30000, 0x4B455354, 0x30001, 0},
      {"larger than the adapter reads", kLargestImage + 0x1000, 0x4B455354, 0x2A00, 0},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> headers(0x400, 0);
    const std::size_t pe = 0x80, optional = pe + 24, table = optional + 0xE0;
    Put32(headers, pe::kDosPeOffset, pe);
    Put32(headers, pe, pe::kSignature);
    Put32(headers, pe + pe::kSectionCount, 2);  // two sections; the count is 16 bits
    Put32(headers, pe + pe::kTimeStamp, c.timeStamp);
    headers[pe + pe::kOptionalHeaderSize] = 0xE0;
    Put32(headers, optional + pe::kSizeOfImage, c.sizeOfImage);
    Put32(headers, optional + pe::kSizeOfHeaders, 0x400);
    Put32(headers, table + pe::kSectionRawOffset, 0x400);
    Put32(headers, table + pe::kSectionRawSize, 0x1000);
    Put32(headers, table + pe::kSectionSize + pe::kSectionRawOffset, 0x1400);
    Put32(headers, table + pe::kSectionSize + pe::kSectionRawSize, c.rawEnd - 0x1400);
    DumpModule claimed = module;
    if (c.sizeOfImage > kLargestImage) claimed.size = c.sizeOfImage;
    EXPECT_EQ(ImageExtent(headers, claimed), c.extent) << c.name;
  }
}

}  // namespace
