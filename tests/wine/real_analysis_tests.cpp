// A real analysis: a fresh crash dump from the crasher, Kestrel with the
// cdb adapter registered as the debugging tools, and the log it leaves.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "driver.h"

namespace {

const std::string kFolder = "C:\\kestrel-tests";
const std::string kLog = "C:\\debuglog.txt";

std::string AdapterFolder() { return BuildPath("adapter-tools/"); }

// Writes a fresh dump of the crasher; CrashHere's module offset, or 0.
unsigned long MakeDump(const std::string& path) {
  RemoveFile(path);
  if (RunProgram("\"" + BuildPath("tools/crasher.exe") + "\" \"" + path + "\"") != 0) return 0;
  const std::string note = ReadWholeFile(path + ".txt");
  const std::string::size_type at = note.find("CrashHere=0x");
  return at == std::string::npos ? 0 : std::strtoul(note.c_str() + at + 12, nullptr, 16);
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
  const unsigned long crashHere = MakeDump(dump);
  ASSERT_NE(crashHere, 0u);
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
  EXPECT_NE(log.find(sizeof(void*) == 4 ? "EIP:" : "rip:", registers), std::string::npos);
  EXPECT_NE(log.find("in crasher", stack), std::string::npos);
  for (const char* module : {"crasher", "kernel32", "ntdll"})
    EXPECT_NE(log.find(module, modules), std::string::npos) << module;
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
