// Before a launch, the log the argument string names must be one this user
// can create or write; otherwise Kestrel offers debuglog.txt in Documents,
// and without that nothing starts. The box after a launch names the log.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "driver.h"

namespace {

const std::string kLog = "C:\\debuglog.txt";
const std::string kDump = "C:\\kestrel-tests\\a.dmp";
const std::string kComposed =
    " -logo c:\\debuglog.txt -c \"!analyze -v;r;kv;lmtn;.logclose;q\" -z \"" + kDump + "\"";
// Where elevation cannot help, the only advice.
const std::string kNameALog = "tick Advanced and name a log in a folder you can write.";
const std::string kSaved = "When the dos window closes, your dump output has been saved to ";

std::string Record() { return StandinToolsFolder() + "cdb-record.txt"; }
std::string Quoted(const std::string& path) {
  return path.find(' ') == std::string::npos ? path : "\"" + path + "\"";
}

// A cancelled Browse opens the gate without touching the fields.
void OpenGate(HWND dialog) {
  Click(dialog, IDC_BROWSE_DUMP);
  HWND open = WaitForOwned(dialog);
  ASSERT_NE(open, nullptr);
  OpenDialogCancel(open);
  ASSERT_TRUE(NoOwnedWindow(dialog, 10000));
}

// Generate Log with `arguments`: the box's caption and text, then it is
// dismissed with `button`.
std::string GenerateWith(HWND dialog, const std::string& arguments, int button = IDOK) {
  SetItemText(dialog, IDC_COMMAND_STRING, arguments);
  Click(dialog, IDOK);
  HWND box = WaitForOwned(dialog);
  if (!box) return "(no box)";
  const std::string text = WindowText(box) + ": " + MessageText(box);
  PressButton(box, button);
  EXPECT_TRUE(WaitForClosed(box));
  return text;
}

// The next box, answered with OK; "(no box)" when none comes.
std::string NextBox(HWND dialog) {
  HWND box = WaitForOwned(dialog, "#32770", 10000);
  if (!box) return "(no box)";
  const std::string text = MessageText(box);
  PressOk(box);
  EXPECT_TRUE(WaitForClosed(box));
  return text;
}

std::string Problem(const std::string& log, const std::string& why) {
  return "Log File Complete: The debugger could not write its log:\n\n" + log + "\n\n" + why;
}

class LogCheck : public testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryA("C:\\kestrel-tests", nullptr);
    WriteWholeFile(kDump, "MDMP");
    RemoveFile(Record());
    RemoveFile(kLog);
    RemoveDirectoryA(kLog.c_str());
    RemoveFile(DocumentsLog());
    RemoveDirectoryA(DocumentsLog().c_str());
    SetToolsFolder(StandinToolsFolder());
  }
  void TearDown() override {
    RemoveDirectoryA(kLog.c_str());
    RemoveDirectoryA(DocumentsLog().c_str());
  }
};

struct Refusal {
  const char* name;
  std::function<HANDLE()> arrange;  // returns a handle to close afterwards, or null
  std::string arguments;
  std::string log, why;
};

// Every reason the check finds gets the offer; No starts nothing and
// changes nothing.
TEST_F(LogCheck, ALogThatCannotBeWrittenIsOfferedInDocumentsAndNoStartsNothing) {
  const std::vector<Refusal> cases = {
      {"the log is a folder",
       [] {
         CreateDirectoryA(kLog.c_str(), nullptr);
         return HANDLE(nullptr);
       },
       kComposed, "c:\\debuglog.txt", "It is a folder, not a file."},
      {"its folder does not exist", [] { return HANDLE(nullptr); },
       " -logo \"C:\\no such folder\\log.txt\" -z \"" + kDump + "\"", "C:\\no such folder\\log.txt",
       "Its folder does not exist."},
      {"it is read-only: no rights lift that",
       [] {
         WriteWholeFile(kLog, "an older analysis\n");
         SetFileAttributesA(kLog.c_str(), FILE_ATTRIBUTE_READONLY);
         return HANDLE(nullptr);
       },
       kComposed, "c:\\debuglog.txt", "The file is read-only."},
      {"another program is writing it",
       [] {
         return CreateFileA(kLog.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0,
                            nullptr);
       },
       kComposed, "c:\\debuglog.txt",
       "Another program has it open, perhaps a debugger still writing it."},
  };
  for (const Refusal& c : cases) {
    SetUp();
    Kestrel kestrel;
    HWND dialog = kestrel.dialog();
    ASSERT_NE(dialog, nullptr) << c.name;
    OpenGate(dialog);
    HANDLE held = c.arrange();
    EXPECT_EQ(GenerateWith(dialog, c.arguments, IDNO),
              Problem(c.log, c.why) + "\n\nWrite the log to " + DocumentsLog() +
                  " instead?\n\nNo: " + kNameALog)
        << c.name;
    EXPECT_EQ(WaitForOwned(dialog, "#32770", 2500), nullptr) << c.name << ": a second box";
    EXPECT_FALSE(WaitForFile(Record(), 500)) << c.name << ": the debugger was started";
    EXPECT_EQ(ItemText(dialog, IDC_COMMAND_STRING), c.arguments) << c.name;
    if (held) CloseHandle(held);
  }
}

TEST_F(LogCheck, YesStartsTheDebuggerWithTheDocumentsLog) {
  CreateDirectoryA(kLog.c_str(), nullptr);
  Kestrel kestrel;
  HWND dialog = kestrel.dialog();
  ASSERT_NE(dialog, nullptr);
  ASSERT_EQ(ChooseWith(dialog, IDC_BROWSE_DUMP, kDump), "Dump Files");
  const std::string before = ItemText(dialog, IDC_COMMAND_STRING);
  const std::string after = " -logo " + Quoted(DocumentsLog()) +
                            before.substr(std::string(" -logo c:\\debuglog.txt").size());
  Click(dialog, IDOK);
  HWND offer = WaitForOwned(dialog);
  ASSERT_NE(offer, nullptr);
  EXPECT_EQ(GetWindowLongPtrA(GetDlgItem(offer, IDYES), GWL_STYLE) & BS_DEFPUSHBUTTON,
            BS_DEFPUSHBUTTON)
      << "Yes is the default";
  PressButton(offer, IDYES);
  ASSERT_TRUE(WaitForFile(Record()));
  EXPECT_EQ(ItemText(dialog, IDC_COMMAND_STRING), after);
  const std::string record = ReadWholeFile(Record());
  const std::string line = record.substr(0, record.find('\n'));
  ASSERT_GE(line.size(), after.size());
  EXPECT_EQ(line.substr(line.size() - after.size()), after);
  EXPECT_EQ(NextBox(dialog), kSaved + DocumentsLog());
  ASSERT_TRUE(WaitForFile(DocumentsLog()));
  EXPECT_NE(ReadWholeFile(DocumentsLog()).find("dump: " + kDump), std::string::npos);
}

// No second offer: Documents' own log failing is refused as any other log.
TEST_F(LogCheck, WhenTheDocumentsLogCannotBeWrittenEitherNothingStarts) {
  CreateDirectoryA(kLog.c_str(), nullptr);
  CreateDirectoryA(DocumentsLog().c_str(), nullptr);
  const std::string folder = "It is a folder, not a file.";
  Kestrel kestrel;
  HWND dialog = kestrel.dialog();
  ASSERT_NE(dialog, nullptr);
  OpenGate(dialog);
  const std::string offer = GenerateWith(dialog, kComposed, IDYES);
  EXPECT_EQ(offer.substr(0, offer.find("\n\nWrite")), Problem("c:\\debuglog.txt", folder));
  const std::string refusal = Problem(DocumentsLog(), folder) + "\n\nT" + kNameALog.substr(1);
  EXPECT_EQ("Log File Complete: " + NextBox(dialog), refusal);
  const std::string named = " -logo " + Quoted(DocumentsLog()) + " -z \"" + kDump + "\"";
  EXPECT_EQ(GenerateWith(dialog, named), refusal);
  EXPECT_EQ(WaitForOwned(dialog, "#32770", 2500), nullptr) << "a second box";
  EXPECT_FALSE(WaitForFile(Record(), 500)) << "the debugger was started";
}

// The box after a launch names the log that the debugger was given.
TEST_F(LogCheck, TheBoxAfterALaunchNamesTheLogOrNone) {
  const std::string elsewhere = "C:\\kestrel-tests\\my logs\\crash.txt";
  CreateDirectoryA("C:\\kestrel-tests\\my logs", nullptr);
  RemoveFile(elsewhere);
  const std::vector<std::pair<std::string, std::string>> cases = {
      {kComposed, kSaved + "c:\\debuglog.txt"},
      {" -logo \"" + elsewhere + "\" -z \"" + kDump + "\"", kSaved + elsewhere},
      {kComposed + " -LOGO \"" + elsewhere + "\"", kSaved + elsewhere},  // the last, in any case
      {" -loga \"" + elsewhere + "\" -z \"" + kDump + "\"", kSaved + elsewhere},  // appended to
      {" -c \"q\" -z \"" + kDump + "\"",
       "When the dos window closes, the debugger is done. The command string names no log file "
       "(-logo), so nothing is saved."},
  };
  Kestrel kestrel;
  HWND dialog = kestrel.dialog();
  ASSERT_NE(dialog, nullptr);
  OpenGate(dialog);
  for (const auto& [arguments, box] : cases) {
    RemoveFile(Record());
    EXPECT_EQ(GenerateWith(dialog, arguments), "Log File Complete: " + box) << arguments;
    EXPECT_TRUE(WaitForFile(Record())) << arguments;
  }
  EXPECT_TRUE(WaitForFile(elsewhere));
  const std::string appended = ReadWholeFile(elsewhere);
  EXPECT_NE(appended.find("dump: "), appended.rfind("dump: ")) << "-loga appends: " << appended;
}

// The dump must be one the debugger can open: a box says why not, and
// nothing starts.
TEST_F(LogCheck, ADumpTheDebuggerCannotOpenStartsNothing) {
  const std::string pick = "Press the upper Browse... button and pick the dump file.";
  const std::string gone = "C:\\kestrel-tests\\gone.dmp";
  RemoveFile(gone);
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "No dump file is named in the command string.\n\n" + pick},
      {gone, "The debugger could not open the dump:\n\n" + gone + "\n\nThere is no such file.\n\n" +
                 pick},
  };
  for (const auto& [field, box] : cases) {
    Kestrel kestrel;
    HWND dialog = kestrel.dialog();
    ASSERT_NE(dialog, nullptr) << field;
    SetItemText(dialog, IDC_DUMP_PATH, field);
    OpenGate(dialog);  // Browse, then Cancel: the string takes the field as it is
    Click(dialog, IDOK);
    EXPECT_EQ(NextBox(dialog), box) << field;
    EXPECT_EQ(WaitForOwned(dialog, "#32770", 2500), nullptr) << field << ": a second box";
    EXPECT_FALSE(WaitForFile(Record(), 500)) << field << ": the debugger was started";
  }
}

// What the debugger would fail on, or do other than asked: a box says what,
// and nothing starts.
TEST_F(LogCheck, ACommandLineTheDebuggerWouldFailOnStartsNothing) {
  const std::string gone = "C:\\kestrel-tests\\gone.dmp";
  RemoveFile(gone);
  const std::string longPath = "C:\\" + std::string(160, 'd') + "\\cdb.exe";
  const std::string head = " -logo c:\\debuglog.txt -c \"q\" -y " + std::string(300, 'y') + " -z ";
  struct Case {
    const char* name;
    std::string debugger, arguments, box;
  };
  const std::vector<Case> cases = {
      {"a blank splits the log's path", StandinToolsFolder() + "cdb.exe",
       " -logo c:\\my log.txt -c \"q\" -z \"" + kDump + "\"",
       "The debugger would start this word of the command string as a program:\n\nlog.txt\n\n"
       "Put a path that holds blanks in double quotes."},
      {"the first of two dumps is missing", StandinToolsFolder() + "cdb.exe",
       " -logo c:\\debuglog.txt -z \"" + gone + "\" -z \"" + kDump + "\"",
       "The debugger could not open the dump:\n\n" + gone +
           "\n\nThere is no such file.\n\nPress the upper Browse... button and pick the dump "
           "file."},
      {"a string longer than the debugger is given", StandinToolsFolder() + "cdb.exe",
       head + std::string(404 - head.size() - 4, 'z') + ".old",
       "The command string is longer than the 399 characters the debugger can be given.\n\n"
       "Tick Advanced and shorten it."},
      {"a debugger path longer than Kestrel starts", longPath, kComposed,
       "The debugger's path is longer than the 169 characters Kestrel can start:\n\n" + longPath +
           "\n\nMove the debugging tools to a folder with a shorter path."},
  };
  Kestrel kestrel;
  HWND dialog = kestrel.dialog();
  ASSERT_NE(dialog, nullptr);
  OpenGate(dialog);
  for (const Case& c : cases) {
    SetItemText(dialog, IDC_DEBUGGER_PATH, c.debugger);
    EXPECT_EQ(GenerateWith(dialog, c.arguments), "Log File Complete: " + c.box) << c.name;
    EXPECT_EQ(WaitForOwned(dialog, "#32770", 1500), nullptr) << c.name << ": a second box";
    EXPECT_FALSE(WaitForFile(Record(), 500)) << c.name << ": the debugger was started";
  }
}

// A cdb.exe beside the dump is never what "cdb.exe" alone starts: a path
// that is not a full one starts nothing.
TEST_F(LogCheck, ABareDebuggerNameStartsNothing) {
  const std::string planted = "C:\\kestrel-tests\\sent\\";
  CreateDirectoryA(planted.c_str(), nullptr);
  CopyFileA((StandinToolsFolder() + "cdb.exe").c_str(), (planted + "cdb.exe").c_str(), FALSE);
  WriteWholeFile(planted + "crash.dmp", "MDMP");
  RemoveFile(planted + "cdb-record.txt");
  DeleteToolsValue();
  Kestrel kestrel;
  HWND dialog = kestrel.dialog();
  ASSERT_NE(dialog, nullptr);
  ASSERT_EQ(ItemText(dialog, IDC_DEBUGGER_PATH), "cdb.exe");
  ASSERT_EQ(ChooseWith(dialog, IDC_BROWSE_DUMP, planted + "crash.dmp"), "Dump Files");
  Click(dialog, IDOK);
  EXPECT_EQ(NextBox(dialog),
            "The debugger's path is not a full path, so Kestrel does not start it:\n\ncdb.exe\n\n"
            "Tick Advanced and pick cdb.exe with its Browse button, or install the debugging "
            "tools (button above).");
  EXPECT_EQ(WaitForOwned(dialog, "#32770", 2500), nullptr) << "a second box";
  EXPECT_FALSE(WaitForFile(planted + "cdb-record.txt", 500)) << "the planted cdb.exe was started";
  EXPECT_EQ(ItemText(dialog, IDC_DEBUGGER_PATH), "cdb.exe");
}

FILETIME WriteTime(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
  return data.ftLastWriteTime;
}

// The check alone, seen through a launch that then fails: an existing log
// keeps its content and time, a new one is not left behind.
TEST_F(LogCheck, TheCheckLeavesNoTrace) {
  const std::string old = "C:\\kestrel-tests\\old log.txt";
  const std::string fresh = "C:\\kestrel-tests\\new log.txt";
  WriteWholeFile(old, "an older analysis\n");
  const FILETIME before = WriteTime(old);
  RemoveFile(fresh);
  Sleep(1100);  // a rewrite would show in the write time
  SetToolsFolder("C:\\nowhere\\");
  Kestrel kestrel;
  HWND dialog = kestrel.dialog();
  ASSERT_NE(dialog, nullptr);
  OpenGate(dialog);
  for (const std::string& log : {old, fresh}) {
    const std::string box = GenerateWith(dialog, " -logo \"" + log + "\" -z \"" + kDump + "\"");
    EXPECT_EQ(box.substr(0, box.find('\n')),
              "Log File Complete: The debugger could not be started:")
        << log;
  }
  EXPECT_EQ(ReadWholeFile(old), "an older analysis\n");
  const FILETIME after = WriteTime(old);
  EXPECT_EQ(CompareFileTime(&before, &after), 0);
  EXPECT_EQ(GetFileAttributesA(fresh.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
