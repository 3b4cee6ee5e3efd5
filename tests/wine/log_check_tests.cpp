// Before a launch, the log the argument string names must be one this user
// can create or write; otherwise nothing starts and a box says why.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "driver.h"

namespace {

const std::string kLog = "C:\\debuglog.txt";
const std::string kAdvice =
    "\n\nStart Kestrel with \"Run as administrator\", or tick Advanced and name a log in a "
    "folder you can write.";

std::string Record() { return StandinToolsFolder() + "cdb-record.txt"; }

// A cancelled Browse opens the gate without touching the fields.
void OpenGate(HWND dialog) {
  Click(dialog, IDC_BROWSE_DUMP);
  HWND open = WaitForOwned(dialog);
  ASSERT_NE(open, nullptr);
  OpenDialogCancel(open);
  ASSERT_TRUE(NoOwnedWindow(dialog, 10000));
}

// Generate Log with `arguments`: the one box's text, then it is dismissed.
std::string GenerateWith(HWND dialog, const std::string& arguments) {
  SetItemText(dialog, IDC_COMMAND_STRING, arguments);
  Click(dialog, IDOK);
  HWND box = WaitForOwned(dialog);
  if (!box) return "(no box)";
  const std::string text = Text(box) + ": " + MessageText(box);
  PressOk(box);
  EXPECT_TRUE(NoOwnedWindow(dialog, 5000));
  return text;
}

class LogCheck : public testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryA("C:\\kestrel-tests", nullptr);
    RemoveFile(Record());
    RemoveFile(kLog);
    RemoveDirectoryA(kLog.c_str());
    SetToolsFolder(StandinToolsFolder());
  }
  void TearDown() override { RemoveDirectoryA(kLog.c_str()); }
};

struct Refusal {
  const char* name;
  std::function<HANDLE()> arrange;  // returns a handle to close afterwards, or null
  std::string arguments;
  std::string log, why;
};

TEST_F(LogCheck, ALogThatCannotBeWrittenLaunchesNothing) {
  const std::string composed =
      " -logo c:\\debuglog.txt -c \"!analyze -v;r;kv;lmtn;.logclose;q\" -z \"C:\\a.dmp\"";
  const std::vector<Refusal> cases = {
      {"the log is a folder",
       [] {
         CreateDirectoryA(kLog.c_str(), nullptr);
         return HANDLE(nullptr);
       },
       composed, "c:\\debuglog.txt", "It is a folder, not a file."},
      {"its folder does not exist", [] { return HANDLE(nullptr); },
       " -logo \"C:\\no such folder\\log.txt\" -z \"C:\\a.dmp\"", "C:\\no such folder\\log.txt",
       "Its folder does not exist."},
      {"another program is writing it",
       [] {
         return CreateFileA(kLog.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0,
                            nullptr);
       },
       composed, "c:\\debuglog.txt",
       "Another program has it open, perhaps a debugger still writing it."},
  };
  for (const Refusal& c : cases) {
    SetUp();
    Kestrel kestrel;
    HWND dialog = kestrel.dialog();
    ASSERT_NE(dialog, nullptr) << c.name;
    OpenGate(dialog);
    HANDLE held = c.arrange();
    EXPECT_EQ(GenerateWith(dialog, c.arguments),
              "Log File Complete: The debugger could not write its log:\n\n" + c.log + "\n\n" +
                  c.why + kAdvice)
        << c.name;
    EXPECT_EQ(WaitForOwned(dialog, "#32770", 2500), nullptr) << c.name << ": a second box";
    EXPECT_FALSE(WaitForFile(Record(), 500)) << c.name << ": the debugger was started";
    if (held) CloseHandle(held);
  }
}

TEST_F(LogCheck, WithNoLogNamedTheLaunchGoesAhead) {
  Kestrel kestrel;
  HWND dialog = kestrel.dialog();
  ASSERT_NE(dialog, nullptr);
  OpenGate(dialog);
  EXPECT_EQ(GenerateWith(dialog, " -c \"q\" -z \"C:\\a.dmp\""),
            "Log File Complete: When the dos window closes, your dump output has been saved to "
            "c:\\debuglog.txt");
  EXPECT_TRUE(WaitForFile(Record()));
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
    const std::string box = GenerateWith(dialog, " -logo \"" + log + "\" -z \"C:\\a.dmp\"");
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
