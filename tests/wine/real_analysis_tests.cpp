// A real analysis: a fresh crash dump from the crasher, Kestrel with the
// cdb adapter registered as the debugging tools, and the log it leaves.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>
#include <vector>

#include "../dumps/compose_dump.h"
#include "driver.h"

namespace {

const std::string kFolder = "C:\\kestrel-tests";
const std::string kLog = "C:\\debuglog.txt";

std::string AdapterFolder() { return BuildPath("adapter-tools/"); }

// Writes a fresh dump of the crasher; the module offset of each of its
// functions (CrashHere, Middle, Outer, main), none if it failed.
std::map<std::string, unsigned long> MakeDump(const std::string& path) {
  RemoveFile(path);
  std::map<std::string, unsigned long> offsets;
  if (RunProgram("\"" + BuildPath("tools/crasher.exe") + "\" \"" + path + "\"") != 0)
    return offsets;
  std::istringstream note(ReadWholeFile(path + ".txt"));
  for (std::string line; std::getline(note, line);) {
    const std::string::size_type equals = line.find("=0x");
    if (equals != std::string::npos)
      offsets[line.substr(0, equals)] = std::strtoul(line.c_str() + equals + 3, nullptr, 16);
  }
  return offsets;
}

// The log's answer to one command: from its prompt to the next.
std::string Answer(const std::string& log, const std::string& command) {
  const std::string::size_type at = log.find("0:000> " + command + "\n");
  if (at == std::string::npos) return "";
  const std::string::size_type end = log.find("0:000> ", at + 1);
  return log.substr(at, end == std::string::npos ? end : end - at);
}

// The frames kv shows, one call site a line, top first.
std::vector<std::string> CallSites(const std::string& stack) {
  std::vector<std::string> sites;
  std::istringstream lines(stack);
  std::string line;
  std::getline(lines, line);  // the prompt
  std::getline(lines, line);  // the column heads
  while (std::getline(lines, line) && !line.empty())
    sites.push_back(line.substr(line.rfind(' ') + 1));
  return sites;
}

// Runs the adapter on a dump as Kestrel would; its exit code.
DWORD Analyse(const std::string& dump) {
  return RunProgram("\"" + AdapterFolder() + "cdb.exe\" -logo " + kLog +
                    " -c \"!analyze -v;r;kv;lmtn;.logclose;q\" -z \"" + dump + "\"");
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  WriteWholeFile(path, std::string(bytes.begin(), bytes.end()));
}

// The log of a composed dump saved as `name`, analysed to a good end.
std::string LogOfComposed(const std::string& name, const std::vector<std::uint8_t>& bytes) {
  CreateDirectoryA(kFolder.c_str(), nullptr);
  const std::string dump = kFolder + "\\" + name;
  WriteBytes(dump, bytes);
  RemoveFile(kLog);
  EXPECT_EQ(Analyse(dump), 0u) << name;
  return ReadWholeFile(kLog);
}

// The log once the adapter has closed it, or what there was when the wait ran out.
std::string ClosedLog(DWORD ms = 90000) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(100)) {
    const std::string log = ReadWholeFile(kLog);
    if (log.find("Closing open log file") != std::string::npos) return log;
  }
  return ReadWholeFile(kLog);
}

TEST(RealAnalysis, TheLogNamesTheCrashItsModuleAndOffset) {
  CreateDirectoryA(kFolder.c_str(), nullptr);
  const std::string dump = kFolder + "\\fresh crash.dmp";
  const std::map<std::string, unsigned long> offsets = MakeDump(dump);
  ASSERT_EQ(offsets.size(), 4u);
  const unsigned long crashHere = offsets.at("CrashHere");
  RemoveFile(kLog);
  SetToolsFolder(AdapterFolder());

  Kestrel kestrel;
  HWND dialog = kestrel.dialog();
  ASSERT_NE(dialog, nullptr);
  ASSERT_EQ(ChooseWith(dialog, IDC_BROWSE_DUMP, dump), "Dump Files");
  Click(dialog, IDOK);
  HWND box = WaitForOwned(dialog);
  ASSERT_NE(box, nullptr);
  PressOk(box);

  const std::string log = ClosedLog();
  EXPECT_NE(log.find("Loading Dump File [" + dump + "]"), std::string::npos) << log;
  EXPECT_NE(log.find("c0000005 (access violation)"), std::string::npos) << log;
  EXPECT_NE(log.find("Attempt to write to address 00000000"), std::string::npos) << log;
  EXPECT_NE(log.find("FAULTING_MODULE: crasher.exe"), std::string::npos) << log;
  // The fault lies inside CrashHere, a few bytes past its start.
  const std::string::size_type at = log.find("FAULTING_IP: crasher.exe+0x");
  ASSERT_NE(at, std::string::npos) << log;
  const unsigned long offset = std::strtoul(log.c_str() + at + 27, nullptr, 16);
  EXPECT_GE(offset, crashHere);
  EXPECT_LT(offset, crashHere + 32);
  // r, kv and lmtn answered, in that order.
  const std::string::size_type registers = log.find("0:000> r\n");
  const std::string::size_type stack = log.find("0:000> kv\n");
  const std::string::size_type modules = log.find("0:000> lmtn\n");
  ASSERT_NE(modules, std::string::npos) << log;
  EXPECT_LT(registers, stack);
  EXPECT_LT(stack, modules);
  // The registers of the fault, from the dump's own context.
  const std::string r = Answer(log, "r");
  const std::string pc = sizeof(void*) == 4 ? "eip=" : "rip=";
  ASSERT_NE(r.find(pc), std::string::npos) << r;
  EXPECT_NE(r.find("efl="), std::string::npos) << r;
  // Every frame: CrashHere, Middle, Outer, main, then down to the thread's start.
  const std::vector<std::string> sites = CallSites(Answer(log, "kv"));
  std::size_t next = 0;
  for (const char* function : {"CrashHere", "Middle", "Outer", "main"}) {
    const unsigned long start = offsets.at(function);
    bool found = false;
    while (!found && next < sites.size()) {
      const std::string& site = sites[next++];
      const unsigned long offset =
          site.rfind("crasher+0x", 0) == 0 ? std::strtoul(site.c_str() + 10, nullptr, 16) : 0;
      // The three are a few bytes long; main writes the note before its call.
      found = offset >= start && offset < start + (function[0] == 'm' ? 0x1000 : 0x40);
    }
    EXPECT_TRUE(found) << function << ", in order:\n" << Answer(log, "kv");
  }
  ASSERT_FALSE(sites.empty());
  const std::string& start = sites.back();  // the thread's start, in Windows' own code
  EXPECT_TRUE(start.rfind("ntdll", 0) == 0 || start.rfind("kernel32", 0) == 0) << Answer(log, "kv");
  // Every module, the crasher's own exe included.
  const std::string lm = Answer(log, "lmtn");
  for (const char* module : {" crasher.exe ", " kernel32.dll ", " ntdll.dll "})
    EXPECT_NE(lm.find(module), std::string::npos) << module << "\n" << lm;
}

// Where no 32-bit program runs, an x86 crash can still be read: a dump the
// tests compose, three frame-pointer frames deep, as Windows XP writes one.
TEST(RealAnalysis, AComposedX86DumpShowsItsRegistersEveryFrameAndModule) {
  const std::string log = LogOfComposed("x86 crash.dmp", composed::X86CrashDump());
  EXPECT_NE(log.find("FAULTING_IP: crashy.exe+0x1005 (00401005)"), std::string::npos) << log;
  EXPECT_NE(Answer(log, "r").find(
                "eax=11111111 ebx=22222222 ecx=00000000 edx=44444444 esi=55555555 edi=66666666\n"
                "eip=00401005 esp=0012ff08 ebp=0012ff10 iopl=0         nv up ei pl zr na pe nc\n"),
            std::string::npos)
      << log;
  EXPECT_EQ(CallSites(Answer(log, "kv")),
            (std::vector<std::string>{"crashy+0x1005", "crashy+0x1110", "crashy+0x1210",
                                      "crashy+0x1310", "kernel32+0x17077"}))
      << log;
  EXPECT_NE(Answer(log, "kv").find("0012ff70 7c817077"), std::string::npos) << log;
  EXPECT_NE(
      Answer(log, "lmtn")
          .find("00400000 00410000   crashy   crashy.exe  Thu Jan  7 03:21:56 2010 (4B455354)\n"
                "7c800000 7c8f6000   kernel32 kernel32.dll"),
      std::string::npos)
      << log;
}

// A dump from another machine: its x64 modules' images are not here, so no
// caller can be found; one line says why, and no frame is made up.
TEST(RealAnalysis, AnX64DumpWithoutImagesSaysWhyNoFrameIsShown) {
  const std::string log =
      LogOfComposed("x64 from another machine.dmp", composed::X64CrashDumpWithoutImages());
  EXPECT_NE(log.find("FAULTING_IP: CrashTest.exe+0x7a9a3 (00007ff6`a12aa9a3)\n"
                     "The exception record carried no address: this is the faulting thread's "
                     "instruction pointer.\n"),
            std::string::npos)
      << log;
  const std::string why =
      "Stack unwind information not available. The stack cannot be walked past the faulting "
      "thread's context (CrashTest.exe+0x7a9a3): the image of CrashTest.exe "
      "(C:\\Users\\ann\\CrashTest\\CrashTest.exe) is not on this machine with the dump's "
      "time stamp and size, and x64 code is unwound with the data in its image.\n";
  EXPECT_EQ(Answer(log, "kv"),
            "0:000> kv\nChild-SP          RetAddr           : Call Site\n" + why + "\n")
      << log;
  EXPECT_NE(Answer(log, "!analyze -v")
                .find("STACK_TEXT (faulting thread):\n"
                      "Child-SP          RetAddr           : Call Site\n" +
                      why),
            std::string::npos)
      << log;
}

// A damaged dump: one plain line, then the log closes as asked, with a failing exit.
TEST(RealAnalysis, ADamagedDumpIsSaidInOneLineAndTheLogStillCloses) {
  CreateDirectoryA(kFolder.c_str(), nullptr);
  const std::vector<std::uint8_t> whole = composed::X86CrashDump();
  std::vector<std::uint8_t> pastEnd = whole, impossible = whole;
  pastEnd[32 + 12 * 2 + 8] = 0xF0, pastEnd[32 + 12 * 2 + 9] = 0xFF;  // the memory list's place
  const std::size_t modules = whole[32 + 12 + 8] | whole[32 + 12 + 9] << 8;
  for (int i = 0; i < 4; ++i) impossible[modules + i] = 0xFF;  // the module count
  const std::vector<std::pair<std::vector<std::uint8_t>, std::string>> cases = {
      {std::vector<std::uint8_t>(whole.begin(), whole.begin() + 20), "inside the dump's header"},
      {std::vector<std::uint8_t>(whole.begin(), whole.begin() + 40), "stream directory"},
      {std::vector<std::uint8_t>(whole.begin(), whole.end() - 200), "lies outside the file"},
      {pastEnd, "stream 2 (type 5) lies outside the file"},
      {impossible, "counts more modules than its stream holds"},
  };
  for (const auto& [bytes, says] : cases) {
    const std::string dump = kFolder + "\\damaged.dmp";
    WriteBytes(dump, bytes);
    RemoveFile(kLog);
    EXPECT_EQ(Analyse(dump), 1u) << says;
    const std::string log = ReadWholeFile(kLog);
    const std::string::size_type line = log.find("The dump is damaged: ");
    ASSERT_NE(line, std::string::npos) << log;
    EXPECT_NE(log.find(says, line), std::string::npos) << log;
    EXPECT_EQ(log.find("The dump is damaged", line + 1), std::string::npos) << log;
    EXPECT_NE(log.find("Closing open log file"), std::string::npos) << log;
    EXPECT_EQ(log.find("eax="), std::string::npos) << log;
  }
}

TEST(RealAnalysis, AnUnusableDumpIsSaidPlainlyWithAFailingExit) {
  CreateDirectoryA(kFolder.c_str(), nullptr);
  WriteWholeFile(kFolder + "\\not a dump.dmp", "This is text, not a minidump.\n");
  const std::vector<std::pair<std::string, std::string>> cases = {
      {kFolder + "\\missing.dmp", "it is missing or unreadable"},
      {kFolder + "\\not a dump.dmp", "is not a minidump"},
  };
  for (const auto& [dump, says] : cases) {
    RemoveFile(kLog);
    const DWORD code = RunProgram("\"" + AdapterFolder() + "cdb.exe\" -logo " + kLog +
                                  " -c \"!analyze -v;q\" -z \"" + dump + "\"");
    EXPECT_NE(code, 0u) << dump;
    EXPECT_NE(code, static_cast<DWORD>(STILL_ACTIVE)) << dump;
    EXPECT_NE(ReadWholeFile(kLog).find(says), std::string::npos) << ReadWholeFile(kLog);
  }
}

}  // namespace
