// One analysis from start to log: debugger discovery, choosing the dump in
// the real Open dialog, and Generate Log reaching the stand-in debugger.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "driver.h"

namespace {

const std::string kDump = "C:\\kestrel-tests\\Mini120806-01.dmp";
const std::string kLog = "C:\\debuglog.txt";
// Wine's SystemRoot is C:\windows.
const std::string kArguments =
    " -logo c:\\debuglog.txt -c \"!analyze -v;r;kv;lmtn;.logclose;q\" -y "
    "SRV*c:\\symbols*http://msdl.microsoft.com/download/symbols -i "
    "C:\\windows;C:\\windows\\system32;C:\\windows\\system32\\drivers -z "
    "\"C:\\kestrel-tests\\Mini120806-01.dmp\"";
const char kCaption[] = "Log File Complete";

std::string Record() { return StandinToolsFolder() + "cdb-record.txt"; }

class Analysis : public testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryA("C:\\kestrel-tests", nullptr);
    WriteWholeFile(kDump, "MDMP");
    RemoveFile(Record());
    RemoveFile(kLog);
    SetToolsFolder(StandinToolsFolder());
    DeleteKitsKey();
  }
};

struct Discovery {
  const char* name;
  std::function<void()> record;
  std::string expected;
};

// Kestrel started after `c.record`: the two fields discovery fills.
void ExpectDiscovered(const Discovery& c) {
  c.record();
  Kestrel kestrel;
  ASSERT_NE(kestrel.dialog(), nullptr) << c.name;
  EXPECT_EQ(ItemText(kestrel.dialog(), IDC_DEBUGGER_PATH), c.expected) << c.name;
  EXPECT_EQ(ItemText(kestrel.dialog(), IDC_COMMAND_STRING), "<fill in the blank first>") << c.name;
}

TEST_F(Analysis, DebuggerDiscoveryReadsTheToolsFolder) {
  const std::vector<Discovery> cases = {
      {"trailing separator",
       [] { SetToolsFolder("C:\\Program Files\\Debugging Tools for Windows\\"); },
       "C:\\Program Files\\Debugging Tools for Windows\\cdb.exe"},
      {"no trailing separator", [] { SetToolsFolder("C:\\Debuggers"); }, "C:\\Debuggerscdb.exe"},
      {"key absent", [] { DeleteToolsKey(); },
       "debugging key not found- please install the tools (button above)"},
      {"value absent", [] { DeleteToolsValue(); }, "cdb.exe"},
      {"132-character folder", [] { SetToolsFolder("C:\\" + std::string(128, 'f') + "\\"); },
       "C:\\" + std::string(128, 'f') + "\\cdb.exe"},
      {"133-character folder", [] { SetToolsFolder("C:\\" + std::string(129, 'f') + "\\"); },
       "cdb.exe"},
      {"300-character folder", [] { SetToolsFolder("C:\\" + std::string(296, 'f') + "\\"); },
       "cdb.exe"},
      {"number value: its bytes", [] { SetToolsValue(REG_DWORD, std::string("A\0\0\0", 4)); },
       "Acdb.exe"},
      {"binary value: its bytes", [] { SetToolsValue(REG_BINARY, "C:\\Bin\\"); },
       "C:\\Bin\\cdb.exe"},
  };
  for (const Discovery& c : cases) ExpectDiscovered(c);
}

TEST_F(Analysis, BrowseFillsTheDumpFieldAndTheArgumentString) {
  Kestrel kestrel;
  HWND dialog = kestrel.dialog();
  ASSERT_NE(dialog, nullptr);
  ASSERT_EQ(ChooseWith(dialog, IDC_BROWSE_DUMP, kDump), "Dump Files");
  EXPECT_EQ(ItemText(dialog, IDC_DUMP_PATH), kDump);
  EXPECT_EQ(ItemText(dialog, IDC_COMMAND_STRING), kArguments);
}

TEST_F(Analysis, BrowseThenCancelKeepsTheFieldAndOpensTheGate) {
  Kestrel kestrel;
  HWND dialog = kestrel.dialog();
  ASSERT_NE(dialog, nullptr);
  const std::string typed = "C:\\kestrel-tests\\typed by hand.dmp";
  WriteWholeFile(typed, "MDMP");
  SetItemText(dialog, IDC_DUMP_PATH, typed);
  EXPECT_EQ(ItemText(dialog, IDC_COMMAND_STRING), "<fill in the blank first>");
  Click(dialog, IDC_BROWSE_DUMP);
  HWND open = WaitForOwned(dialog);
  ASSERT_NE(open, nullptr);
  OpenDialogCancel(open);
  ASSERT_TRUE(NoOwnedWindow(dialog, 10000));
  EXPECT_EQ(ItemText(dialog, IDC_DUMP_PATH), typed);
  const std::string arguments = ItemText(dialog, IDC_COMMAND_STRING);
  EXPECT_EQ(arguments.substr(arguments.find(" -z ")), " -z \"" + typed + "\"");
  Click(dialog, IDOK);
  EXPECT_TRUE(WaitForFile(Record())) << "the cancelled Browse still opens the gate";
  HWND box = WaitForOwned(dialog);
  ASSERT_NE(box, nullptr);
  PressOk(box);
}

TEST_F(Analysis, GenerateLogBeforeAnyBrowseOnlyRefuses) {
  Kestrel kestrel;
  HWND dialog = kestrel.dialog();
  ASSERT_NE(dialog, nullptr);
  Click(dialog, IDOK);
  HWND box = WaitForOwned(dialog);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(WindowText(box), kCaption);
  EXPECT_EQ(MessageText(box), "You need to hit both the browse buttons before running logs");
  PressOk(box);
  EXPECT_TRUE(NoOwnedWindow(dialog, 5000));
  EXPECT_EQ(WaitForOwned(dialog, "#32770", 3000), nullptr) << "a second box";
  EXPECT_FALSE(WaitForFile(Record(), 1000)) << "the debugger was started";
}

TEST_F(Analysis, GenerateLogStartsTheDebuggerInItsFolder) {
  Kestrel kestrel;
  HWND dialog = kestrel.dialog();
  ASSERT_NE(dialog, nullptr);
  ASSERT_EQ(ChooseWith(dialog, IDC_BROWSE_DUMP, kDump), "Dump Files");
  Click(dialog, IDOK);
  ASSERT_TRUE(WaitForFile(Record()));
  const std::string record = ReadWholeFile(Record());
  const std::string line = record.substr(0, record.find('\n'));
  const std::string folder =
      record.substr(line.size() + 1, record.find('\n', line.size() + 1) - line.size() - 1);
  ASSERT_GE(line.size(), kArguments.size());
  EXPECT_EQ(line.substr(line.size() - kArguments.size()), kArguments) << line;
  std::string expectedFolder = StandinToolsFolder();
  expectedFolder.pop_back();  // the current folder has no closing separator
  EXPECT_STRCASEEQ(folder.c_str(), expectedFolder.c_str());

  HWND box = WaitForOwned(dialog);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(WindowText(box), kCaption);
  EXPECT_EQ(MessageText(box),
            "When the dos window closes, your dump output has been saved to c:\\debuglog.txt");
  PressOk(box);
  ASSERT_TRUE(WaitForFile(kLog));
  EXPECT_NE(ReadWholeFile(kLog).find("dump: " + kDump), std::string::npos);
}

// A path the shell cannot start, and the install hint, which is no path.
TEST_F(Analysis, AFailedLaunchIsReportedAndNotCalledASuccess) {
  const std::string wayOut =
      "\n\nTick Advanced and pick cdb.exe with its Browse button, or install the debugging tools "
      "(button above).";
  const std::string hint = "debugging key not found- please install the tools (button above)";
  const std::vector<std::pair<std::function<void()>, std::string>> cases = {
      {[] { SetToolsFolder("C:\\nowhere\\"); },
       "The debugger could not be started:\n\nC:\\nowhere\\cdb.exe" + wayOut},
      {[] { DeleteToolsKey(); },
       "The debugger's path is not a full path, so Kestrel does not start it:\n\n" + hint + wayOut},
  };
  for (const auto& [record, text] : cases) {
    record();
    Kestrel kestrel;
    HWND dialog = kestrel.dialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(ChooseWith(dialog, IDC_BROWSE_DUMP, kDump), "Dump Files");
    Click(dialog, IDOK);
    HWND box = WaitForOwned(dialog);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowText(box), kCaption);
    EXPECT_EQ(MessageText(box), text);
    PressOk(box);
    EXPECT_TRUE(NoOwnedWindow(dialog, 5000));
    EXPECT_EQ(WaitForOwned(dialog, "#32770", 3000), nullptr) << "a success box after the error";
  }
}

}  // namespace

namespace {

// Where the Windows Kits keep cdb.exe, when the old key is absent.
const std::string kKits = "C:\\kestrel-tests\\Kits\\";

void PutDebugger(const std::string& path) {
  for (std::string::size_type at = path.find('\\', 3); at != std::string::npos;
       at = path.find('\\', at + 1))
    CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
  WriteWholeFile(path, "MZ");
}

TEST_F(Analysis, DebuggerDiscoveryFindsTheWindowsKitsDebugger) {
  const std::string preferred = Is64BitWindows() ? "x64\\" : "x86\\";
  const std::string other = Is64BitWindows() ? "x86\\" : "x64\\";
  const std::string both = kKits + "10\\Debuggers\\";
  const std::string onlyOther = kKits + "other\\Debuggers\\";
  const std::string in81 = kKits + "8.1\\Debuggers\\";
  const std::string old = kKits + "old\\";
  PutDebugger(old + "cdb.exe");
  PutDebugger(both + "x64\\cdb.exe");
  PutDebugger(both + "x86\\cdb.exe");
  PutDebugger(onlyOther + other + "cdb.exe");
  PutDebugger(in81 + "x86\\cdb.exe");
  const std::vector<Discovery> cases = {
      {"newest kit, this Windows' debugger", [&] { SetKitsRoot("WindowsDebuggersRoot10", both); },
       both + preferred + "cdb.exe"},
      {"only the other subfolder", [&] { SetKitsRoot("WindowsDebuggersRoot10", onlyOther); },
       onlyOther + other + "cdb.exe"},
      {"none in the newest: the next value",
       [&] {
         SetKitsRoot("WindowsDebuggersRoot10", kKits + "empty\\");
         SetKitsRoot("WindowsDebuggersRoot81", in81);
       },
       in81 + "x86\\cdb.exe"},
      {"the old key wins where its cdb.exe is",
       [&] {
         SetKitsRoot("WindowsDebuggersRoot10", both);
         SetToolsFolder(old);
       },
       old + "cdb.exe"},
      {"a key left without its value does not hide the kits",
       [&] {
         SetKitsRoot("WindowsDebuggersRoot10", both);
         DeleteToolsValue();
       },
       both + preferred + "cdb.exe"},
      {"only in the 64-bit view",
       [&] {
         if (Is64BitWindows()) SetKitsRoot("WindowsDebuggersRoot10", both, true);
       },
       Is64BitWindows() ? both + "x64\\cdb.exe"
                        : "debugging key not found- please install the tools (button above)"},
      {"nothing found",
       [&] {
         SetKitsRoot("WindowsDebuggersRoot10", kKits + "empty\\");
         SetKitsRoot("WindowsDebuggersRoot", kKits + "none\\");
       },
       "debugging key not found- please install the tools (button above)"},
  };
  for (const Discovery& c : cases) {
    DeleteToolsKey();
    DeleteKitsKey();
    ExpectDiscovered(c);
  }
  DeleteKitsKey();
}

// Wine has no WinDbg app: no package API (Wine 8), or one that finds no
// package (Wine 10). Its lookup then changes nothing: the field says what it
// said without it.
TEST_F(Analysis, DebuggerDiscoveryWithoutTheWinDbgAppLeavesTheField) {
  using ByFamily = LONG(WINAPI*)(PCWSTR, UINT32*, PWSTR*, UINT32*, WCHAR*);
  const auto byFamily = reinterpret_cast<ByFamily>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetPackagesByPackageFamily")));
  UINT32 count = 0, length = 0;
  if (byFamily) byFamily(L"Microsoft.WinDbg_8wekyb3d8bbwe", &count, nullptr, &length, nullptr);
  ASSERT_EQ(count, 0u) << "this Windows has the WinDbg app";
  DeleteKitsKey();
  for (const Discovery& c : std::vector<Discovery>{
           {"no record at all", [] { DeleteToolsKey(); },
            "debugging key not found- please install the tools (button above)"},
           {"a record without cdb.exe", [] { SetToolsFolder("C:\\nowhere\\"); },
            "C:\\nowhere\\cdb.exe"},
       })
    ExpectDiscovered(c);
}

}  // namespace
