// The pure core: the argument string, the debugger path from the registry,
// the working folder. Expected texts are written out in full on purpose.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "../../command/capacities.h"
#include "../../command/cdb_options.h"
#include "../../command/command_line.h"
#include "../../command/command_string.h"
#include "../../command/contract.h"
#include "../../command/discovery.h"
#include "../../command/file_check.h"
#include "../../command/paths.h"
#include "../../command/texts.h"

namespace {

// The core's texts as strings, to compare and cut in the tables below.
std::string S(const Text& text) { return text.c_str(); }

const std::string kFullString =
    " -logo c:\\debuglog.txt -c \"!analyze -v;r;kv;lmtn;.logclose;q\" -y "
    "SRV*c:\\symbols*http://msdl.microsoft.com/download/symbols -i "
    "C:\\WINDOWS;C:\\WINDOWS\\system32;C:\\WINDOWS\\system32\\drivers -z "
    "\"C:\\Dumps\\Mini120806-01.dmp\"";

TEST(ComposeCommandString, FullStringForAWindowsRootAndADump) {
  EXPECT_EQ(S(ComposeCommandString("C:\\WINDOWS", "C:\\Dumps\\Mini120806-01.dmp")), kFullString);
}

struct ShapeCase {
  const char* name;
  const char* root;
  std::string dump;
  std::string expectedTail;  // what the string must end with
};

TEST(ComposeCommandString, RootAndDumpShapes) {
  const std::string dump169(169, 'd');
  const std::vector<ShapeCase> cases = {
      {"absent root", nullptr, "x.dmp",
       " -i (null);(null)\\system32;(null)\\system32\\drivers -z \"x.dmp\""},
      {"empty dump field", "C:\\windows", "",
       " -i C:\\windows;C:\\windows\\system32;C:\\windows\\system32\\drivers -z \"\""},
      {"dump with blanks", "C:\\windows", "C:\\My Dumps\\a b.dmp", "-z \"C:\\My Dumps\\a b.dmp\""},
      {"170-character dump cut to 169", "C:\\windows", dump169 + "X", "-z \"" + dump169 + "\""},
      {"root kept unchanged", "c:\\WinNT", "y.dmp",
       " -i c:\\WinNT;c:\\WinNT\\system32;c:\\WinNT\\system32\\drivers -z \"y.dmp\""},
  };
  for (const ShapeCase& c : cases) {
    const std::string text = S(ComposeCommandString(c.root, c.dump.c_str()));
    ASSERT_GE(text.size(), c.expectedTail.size()) << c.name;
    EXPECT_EQ(text.substr(text.size() - c.expectedTail.size()), c.expectedTail) << c.name;
    EXPECT_EQ(text.front(), ' ') << c.name;
  }
}

TEST(ComposeCommandString, LengthIsFixedTextPlusHostPlusThreeRootsPlusDump) {
  const std::size_t fixed = 142 + std::string(kSymbolServerHost).size();
  for (std::size_t root : {0u, 1u, 10u, 23u}) {
    for (std::size_t dump : {0u, 1u, 100u, 169u}) {
      const std::size_t expected = fixed + 3 * root + dump;
      if (expected > kCommandCapacity - 1) continue;
      EXPECT_EQ(
          S(ComposeCommandString(std::string(root, 'r').c_str(), std::string(dump, 'd').c_str()))
              .size(),
          expected)
          << "root " << root << ", dump " << dump;
    }
  }
}

TEST(ComposeCommandString, OverlongInputsAreCutAt399) {
  const std::string longRoot(300, 'R');
  for (std::size_t rootLength : {40u, 100u, 300u}) {
    const std::string root = longRoot.substr(0, rootLength);
    const std::string text = S(ComposeCommandString(root.c_str(), std::string(169, 'd').c_str()));
    EXPECT_EQ(text.size(), kCommandCapacity - 1) << rootLength;
    // The cut keeps the head of the string: the options come first, intact.
    EXPECT_EQ(text.substr(0, 30), kFullString.substr(0, 30));
  }
}

struct RegistryCase {
  const char* name;
  long status;
  std::string stored;  // bytes the read left in the zero-filled buffer
  std::string expected;
};

TEST(DebuggerPathFromRegistry, RecordedFolders) {
  const std::string folder132 = "C:\\" + std::string(128, 'f') + "\\";
  const std::string folder133 = folder132 + "g";
  const std::vector<RegistryCase> cases = {
      {"trailing separator", 0, "C:\\Program Files\\Debugging Tools for Windows\\",
       "C:\\Program Files\\Debugging Tools for Windows\\cdb.exe"},
      {"no trailing separator", 0, "C:\\Debuggers", "C:\\Debuggerscdb.exe"},
      {"expandable text, not expanded", 0, "%ProgramFiles%\\Dbg\\", "%ProgramFiles%\\Dbg\\cdb.exe"},
      {"value absent", 2, "", "cdb.exe"},
      {"zero length", 0, "", "cdb.exe"},
      {"text after the first zero ignored", 0, std::string("C:\\D\\\0junk", 9), "C:\\D\\cdb.exe"},
      {"132 characters fit exactly", 0, folder132, folder132 + "cdb.exe"},
      {"133 characters leave no room", 0, folder133, "cdb.exe"},
      {"140 bytes, no zero", 0, std::string(140, 'x'), "cdb.exe"},
      {"longer than the buffer", 234, "", "cdb.exe"},
      {"binary value: its bytes are the folder", 0, "C:\\Bin\\", "C:\\Bin\\cdb.exe"},
      {"number value: its bytes too", 0, std::string("A\0\0\0", 4), "Acdb.exe"},
  };
  for (const RegistryCase& c : cases) {
    std::vector<char> buffer(kToolsPathCapacity, '\0');
    std::copy(c.stored.begin(), c.stored.end(), buffer.begin());
    const std::string path = S(DebuggerPathFromRegistry(c.status, buffer.data(), buffer.size()));
    EXPECT_EQ(path, c.expected) << c.name;
    EXPECT_LE(path.size(), kToolsPathCapacity - 1) << c.name;
  }
}

TEST(DebuggerPathFromRegistry, ReadsNothingPastTheGivenSize) {
  // An exact-size heap block: AddressSanitizer reports any read past it.
  std::vector<char> bytes(20, 'a');
  EXPECT_EQ(S(DebuggerPathFromRegistry(0, bytes.data(), bytes.size())),
            std::string(20, 'a') + "cdb.exe");
}

TEST(WorkingFolder, IsThePathLessItsLastSevenCharacters) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"C:\\Program Files\\Debugging Tools for Windows\\cdb.exe",
       "C:\\Program Files\\Debugging Tools for Windows\\"},
      {"C:\\Debuggerscdb.exe", "C:\\Debuggers"},
      {"D:\\tools\\windbg.exe", "D:\\tools\\win"},  // the name is not examined
      {"Xcdb.exe", "X"},
      {"cdb.exe", ""},
      {"a.exe", ""},
      {"", ""},
  };
  for (const auto& [path, folder] : cases)
    EXPECT_EQ(S(WorkingFolder(path.c_str())), folder) << path;
}

TEST(LaunchFailureText, NamesThePathAndTheWayOut) {
  const std::string text = S(LaunchFailureText("C:\\Nowhere\\cdb.exe"));
  EXPECT_NE(text.find("C:\\Nowhere\\cdb.exe"), std::string::npos);
  EXPECT_NE(text.find("Advanced"), std::string::npos);
  EXPECT_NE(text.find("install the debugging tools"), std::string::npos);
}

struct KitCase {
  const char* name;
  long status;
  std::string stored;
  unsigned short machine;
  std::vector<std::string> expected;
};

TEST(KitDebuggerCandidate, TheNativeProcessorsDebuggerFirstThenTheOthers) {
  const std::string root = "C:\\Program Files (x86)\\Windows Kits\\10\\Debuggers\\";
  const std::string fits = "C:\\" + std::string(124, 'k') + "\\";  // + x86\cdb.exe: 139
  const std::string over = "C:\\" + std::string(125, 'k') + "\\";  // 140
  const auto in = [](const std::string& folder, std::vector<const char*> subfolders) {
    std::vector<std::string> paths;
    for (const char* subfolder : subfolders) paths.push_back(folder + subfolder + "\\cdb.exe");
    return paths;
  };
  const std::vector<KitCase> cases = {
      {"x64 Windows", 0, root, kMachineAmd64, in(root, {"x64", "x86"})},
      {"32-bit Windows", 0, root, kMachineI386, in(root, {"x86", "x64"})},
      {"ARM64 Windows", 0, root, kMachineArm64, in(root, {"arm64", "x86", "x64"})},
      {"a processor Kestrel does not know", 0, root, 0x01C4, in(root, {"x86", "x64"})},
      {"no closing separator", 0, "D:\\Kits\\Debuggers", kMachineI386,
       in("D:\\Kits\\Debuggers\\", {"x86", "x64"})},
      {"value absent", 2, "", kMachineAmd64, {}},
      {"empty value", 0, "", kMachineAmd64, {}},
      {"read did not fit", 234, root, kMachineAmd64, {}},
      {"139 characters fit", 0, fits, kMachineI386, in(fits, {"x86", "x64"})},
      {"140 do not", 0, over, kMachineI386, {}},
      {"arm64 is two longer", 0, fits, kMachineArm64, in(fits, {"x86", "x64"})},
  };
  for (const KitCase& c : cases) {
    std::vector<char> buffer(kToolsPathCapacity, '\0');
    std::copy(c.stored.begin(), c.stored.end(), buffer.begin());
    // In the order discovery tries them.
    std::vector<std::string> paths;
    for (const char* const* subfolder = KitSubfolders(c.machine); *subfolder; ++subfolder) {
      const std::string path =
          S(KitDebuggerCandidate(c.status, buffer.data(), buffer.size(), *subfolder));
      if (!path.empty()) paths.push_back(path);
    }
    EXPECT_EQ(paths, c.expected) << c.name;
  }
}

// The WinDbg app's packages: every path tried, in order, and the first that
// exists taken. Each package is a version and a folder ("" for one the ANSI
// code page cannot spell); the paths tried name the folder and subfolder.
TEST(PackageDebugger, TheNewestPackageAndTheNativeSubfolderFirst) {
  using Packages = std::vector<std::pair<std::wstring, std::string>>;
  struct Case {
    const char* name;
    Packages packages;
    unsigned short machine;
    std::vector<std::string> tried;
  };
  const std::string deep = "C:\\" + std::string(124, 'p');  // + \x86\cdb.exe: 139
  const std::vector<Case> cases = {
      {"x64 Windows",
       {{L"1.2506.12002.0", "C:\\a"}},
       kMachineAmd64,
       {"C:\\a\\amd64", "C:\\a\\x86"}},
      {"ARM64 Windows",
       {{L"1.2506.12002.0", "C:\\a"}},
       kMachineArm64,
       {"C:\\a\\arm64", "C:\\a\\x86", "C:\\a\\amd64"}},
      {"32-bit Windows", {{L"1.2506.12002.0", "C:\\a"}}, kMachineI386, {"C:\\a\\x86"}},
      {"the newest first",
       {{L"1.2506.12002.0", "C:\\a"}, {L"1.2510.7001.0", "C:\\b"}},
       kMachineAmd64,
       {"C:\\b\\amd64", "C:\\b\\x86", "C:\\a\\amd64", "C:\\a\\x86"}},
      {"versions as numbers",
       {{L"1.9.0.0", "C:\\a"}, {L"1.10.0.0", "C:\\b"}},
       kMachineI386,
       {"C:\\b\\x86", "C:\\a\\x86"}},
      {"the fourth part counts",
       {{L"1.2.3.4", "C:\\a"}, {L"1.2.3.5", "C:\\b"}},
       kMachineI386,
       {"C:\\b\\x86", "C:\\a\\x86"}},
      {"no version is the lowest",
       {{L"", "C:\\a"}, {L"1.0.0.0", "C:\\b"}},
       kMachineI386,
       {"C:\\b\\x86", "C:\\a\\x86"}},
      {"equal versions as listed",
       {{L"1.0.0.0", "C:\\a"}, {L"1.0.0.0", "C:\\b"}},
       kMachineI386,
       {"C:\\a\\x86", "C:\\b\\x86"}},
      {"a folder not in the code page",
       {{L"2.0.0.0", ""}, {L"1.0.0.0", "C:\\b"}},
       kMachineI386,
       {"C:\\b\\x86"}},
      {"139 characters fit", {{L"1.0.0.0", deep}}, kMachineI386, {deep + "\\x86"}},
      {"140 do not", {{L"1.0.0.0", deep + "p"}}, kMachineI386, {}},
      {"no package", {}, kMachineAmd64, {}},
  };
  struct Seen {
    const Packages* packages;
    std::vector<std::string> tried;
    std::string present;
  };
  const auto folderOf = [](std::size_t i, void* context) {
    const std::string& folder = (*static_cast<Seen*>(context)->packages)[i].second;
    Text text(folder.size() + 1);
    text += folder.c_str();
    return text;
  };
  const auto exists = [](const char* path, void* context) {
    Seen& seen = *static_cast<Seen*>(context);
    seen.tried.push_back(path);
    return seen.present == path;
  };
  for (const Case& c : cases) {
    std::vector<std::wstring> fullNames;
    std::vector<const wchar_t*> names;
    for (const auto& package : c.packages)
      fullNames.push_back(package.first.empty()
                              ? L"Microsoft.WinDbg"
                              : L"Microsoft.WinDbg_" + package.first + L"_x64__8wekyb3d8bbwe");
    for (const std::wstring& name : fullNames) names.push_back(name.c_str());
    std::vector<std::string> tried;
    for (const std::string& path : c.tried) tried.push_back(path + "\\cdb.exe");
    // None there: every candidate tried. The last one there: it is taken.
    for (const std::string& present : {std::string(), tried.empty() ? "" : tried.back()}) {
      Seen seen{&c.packages, {}, present};
      EXPECT_EQ(S(PackageDebugger(names.data(), names.size(), c.machine, folderOf, exists, &seen)),
                present)
          << c.name;
      EXPECT_EQ(seen.tried, tried) << c.name;
    }
  }
}

// One line per rule of the debugger's reading, seen both ways: as the
// stand-in and the adapter parse it, and as Kestrel's checks look it up. The
// reading is written "log L (append, Unicode); dumps A, B; program P; error E;
// refused for W", with only what is there.
TEST(CdbReader, ReadsTheLineAsTheDebuggerDoes) {
  const auto reading = [](const CdbOptions& o) {
    std::string text;
    const auto add = [&text](const std::string& part) {
      text += (text.empty() ? "" : "; ") + part;
    };
    if (!o.log.empty())
      add("log " + o.log + (o.appendLog ? " (append" : " (new") +
          (o.unicodeLog ? ", Unicode)" : ")"));
    std::string dumps;
    for (const std::string& dump : o.dumps) dumps += (dumps.empty() ? "" : ", ") + dump;
    if (!o.dumps.empty()) add("dumps " + dumps);
    if (!o.program.empty()) add("program " + o.program);
    if (!o.error.empty()) add("error " + o.error);
    return text;
  };
  const std::vector<std::tuple<const char*, std::string, std::string>> cases = {
      {"Kestrel's own string", S(ComposeCommandString("C:\\WINDOWS", "C:\\My Dumps\\a.dmp")),
       "log c:\\debuglog.txt (new); dumps C:\\My Dumps\\a.dmp"},
      {"letter case ignored", " -logo c:\\debuglog.txt -LOGO d:\\mine.txt -z x",
       "log d:\\mine.txt (new); dumps x"},
      {"a slash for the hyphen", " /logo d:\\s.txt /Z x", "log d:\\s.txt (new); dumps x"},
      {"-loga appends", " -loga c:\\x.txt -z x", "log c:\\x.txt (append); dumps x"},
      {"-logou in Unicode", " -logou d:\\u.txt -z x", "log d:\\u.txt (new, Unicode); dumps x"},
      {"-logau both", " -LogAu \"d:\\my u.txt\" -z x",
       "log d:\\my u.txt (append, Unicode); dumps x"},
      {"the last log counts", " -loga a.txt -logo D:\\b.txt -z x", "log D:\\b.txt (new); dumps x"},
      {"tabs and runs of blanks", " -logo\tD:\\l.txt  -z \t x.dmp  ",
       "log D:\\l.txt (new); dumps x.dmp"},
      {"a value is never an option", " -logo -z -z d.dmp", "log -z (new); dumps d.dmp"},
      {"an option quoted in -c's value", " -c \"-logo not.txt\" -z x", "dumps x"},
      {"every dump, in order", " -z \"C:\\gone.dmp\" -Z C:\\good.dmp /z c.dmp",
       "dumps C:\\gone.dmp, C:\\good.dmp, c.dmp"},
      {"a blank splits an unquoted path", " -logo c:\\my log.txt -c \"q\" -z \"C:\\a.dmp\"",
       "log c:\\my (new); program log.txt; error no dump file (-z); refused for log.txt"},
      {"a program and a -z", " -logo c:\\x.txt notepad.exe -z a.txt",
       "log c:\\x.txt (new); program notepad.exe; error no dump file (-z); refused for "
       "notepad.exe"},
      {"a program without -z", " -logo c:\\x.txt notepad.exe a.txt",
       "log c:\\x.txt (new); program notepad.exe; error no dump file (-z)"},
      {"-remote keeps its case", " -remote tcp:port=5 -z x", "dumps x"},
      {"so -REMOTE takes no value", " -REMOTE tcp:port=5 -z x",
       "program tcp:port=5; error no dump file (-z); refused for tcp:port=5"},
      {"-logoa is no log option", " -logoa n.txt -z x",
       "program n.txt; error no dump file (-z); refused for n.txt"},
      {"options written together, or without values", " -aext.dll -netsyms:yes -vf:o -g -G -k -z x",
       "dumps x"},
      {"-srcpath, -p, -e and -xe take values", " -srcpath s -p 4 -e 7 -xe av -z x", "dumps x"},
      {"an option without its value", " -z x.dmp -logo",
       "dumps x.dmp; error option -logo has no value"},
      {"-z without its value", " -z", "dumps ; error option -z has no value"},
      {"an unclosed quote", " -z \"C:\\open ended.dmp",
       "dumps C:\\open ended.dmp; error a double quote is not closed"},
      {"nothing", "", "error no dump file (-z)"},
  };
  for (const auto& [name, arguments, expected] : cases) {
    const CdbOptions options = ParseCdbOptions("\"C:\\Program Files\\cdb.exe\"" + arguments);
    std::string got = reading(options);
    // Kestrel's look-ups read the same, and it refuses a program with a -z.
    const char* line = arguments.c_str();
    EXPECT_EQ(S(LogFileOf(line)), options.log) << name;
    std::vector<std::string> dumps;
    bool named = true;
    for (std::size_t i = 0; named; ++i) {
      const std::string dump = S(DumpFileOf(line, i, named));
      if (named) dumps.push_back(dump);
    }
    EXPECT_EQ(dumps, options.dumps) << name;
    Text word(1);
    if (StrayWordOf(line, word)) got += "; refused for " + S(word);
    EXPECT_EQ(got, expected) << name;
  }
}

TEST(DumpFileOf, AFieldTooLongForTheString) {
  const std::string field(200, 'f');
  const std::vector<std::tuple<std::string, std::string, bool>> cuts = {
      {field, field.substr(0, 169), true},
      {field.substr(0, 170), field.substr(0, 169), true},
      {field.substr(0, 169), field.substr(0, 169), false},  // carried whole
      {field, "C:\\other.dmp", false},                      // typed in Advanced
      {field, field.substr(0, 168), false},
  };
  for (const auto& [text, dump, cut] : cuts)
    EXPECT_EQ(DumpFieldWasCut(text.c_str(), dump.c_str()), cut) << text.size() << " " << dump;
}

TEST(FullPathOf, AsWindowsTakesItInTheDebuggersFolder) {
  const std::vector<std::tuple<std::string, std::string, std::string, std::string>> cases = {
      // path, folder, the environment's folder for the path's drive, full path
      {"c:\\debuglog.txt", "C:\\Dbg\\x64\\", "", "c:\\debuglog.txt"},
      {"relative.txt", "C:\\Dbg\\x64\\", "", "C:\\Dbg\\x64\\relative.txt"},
      {"relative.txt", "C:\\Debuggers", "", "C:\\Debuggers\\relative.txt"},
      {"logs\\x.txt", "\\\\srv\\tools\\dbg\\", "", "\\\\srv\\tools\\dbg\\logs\\x.txt"},
      {"\\debuglog.txt", "D:\\Dbg\\x64\\", "", "D:\\debuglog.txt"},
      {"\\debuglog.txt", "\\\\srv\\tools\\dbg\\", "", "\\\\srv\\tools\\debuglog.txt"},
      {"/logs/x.txt", "C:\\Dbg\\x64\\", "", "C:\\logs\\x.txt"},
      {"c:debuglog.txt", "C:\\Dbg\\x64\\", "", "C:\\Dbg\\x64\\debuglog.txt"},
      {"d:debuglog.txt", "C:\\Dbg\\x64\\", "D:\\work", "D:\\work\\debuglog.txt"},
      {"d:debuglog.txt", "C:\\Dbg\\x64\\", "", "d:\\debuglog.txt"},
      {"d:debuglog.txt", "C:\\Dbg\\x64\\", "E:\\work", "d:\\debuglog.txt"},  // not D's
      {"..\\..\\up.txt", "C:\\Dbg\\x64\\", "", "C:\\up.txt"},
      {"..\\..\\..\\..\\top.txt", "C:\\Dbg\\", "", "C:\\top.txt"},  // never above the root
      {"C:\\a\\.\\b\\..\\c//d.txt", "D:\\", "", "C:\\a\\c\\d.txt"},
      {"C:\\logs\\", "D:\\", "", "C:\\logs\\"},
      {"C:\\logs\\..", "D:\\", "", "C:\\"},
      {"\\\\srv\\share\\..\\x", "D:\\", "", "\\\\srv\\share\\x"},
      {"\\\\?\\C:\\a\\..\\b", "D:\\", "", "\\\\?\\C:\\a\\..\\b"},  // as it stands
      {"", "C:\\Dbg\\", "", ""},
  };
  for (const auto& [path, folder, driveFolder, full] : cases)
    EXPECT_EQ(S(FullPathOf(path.c_str(), folder.c_str(), driveFolder.c_str())), full)
        << path << " in " << folder;
}

// What Windows said of a file -> why, for the log and for the dump.
struct ReasonCase {
  unsigned long error;
  bool isFolder;
  std::string log, dump;
};
const std::vector<ReasonCase> kReasons = {
    {0, true, "It is a folder, not a file.", "It is a folder, not a file."},
    {5, true, "It is a folder, not a file.", "It is a folder, not a file."},
    {5, false, "This user may not create or write that file.", "This user may not read that file."},
    {19, false, "This user may not create or write that file.",
     "This user may not read that file."},
    {2, false, "Its folder does not exist.", "There is no such file."},
    {3, false, "Its folder does not exist.", "Its folder does not exist."},
    {32, false, "Another program has it open, perhaps a debugger still writing it.",
     "Another program has it open, perhaps Windows still writing it."},
    {33, false, "Another program has it open, perhaps a debugger still writing it.",
     "Another program has it open, perhaps Windows still writing it."},
    {123, false, "That is not a valid file name.", "That is not a valid file name."},
    {1234, false, "Windows gave error 1234.", "Windows gave error 1234."},
    {4294967295ul, false, "Windows gave error 4294967295.", "Windows gave error 4294967295."},
};

// Elevation is advised only where this user's rights are the reason.
TEST(LogProblemText, EveryReasonWithTheAdviceThatHelps) {
  const std::string head = "The debugger could not write its log:\n\nc:\\debuglog.txt\n\n";
  const std::string offered = "C:\\Users\\Ann\\Documents\\debuglog.txt";
  const std::string name = "tick Advanced and name a log in a folder you can write.";
  const std::string elevate = "start Kestrel with \"Run as administrator\", or " + name;
  for (const ReasonCase& c : kReasons) {
    const FileCheck check = FileCheckOf(c.error, c.isFolder);
    const std::string advice = check.problem == FileProblem::kDenied ? elevate : name;
    const std::string sentence = static_cast<char>(advice[0] - 32) + advice.substr(1);
    EXPECT_EQ(S(LogProblemText("c:\\debuglog.txt", check)), head + c.log + "\n\n" + sentence)
        << c.error;
    EXPECT_EQ(S(LogOfferText("c:\\debuglog.txt", check, offered.c_str())),
              head + c.log + "\n\nWrite the log to " + offered + " instead?\n\nNo: " + advice)
        << c.error;
  }
  EXPECT_EQ(FileCheckOf(0, false).problem, FileProblem::kNone);
  // The longest path a launch can name and a long Documents log fit whole.
  const std::string log(kLongestFullPath, 'l'), documents(272, 'd');
  const std::string offer =
      S(LogOfferText(log.c_str(), FileCheckOf(4294967295ul, false), documents.c_str()));
  EXPECT_EQ(offer.substr(offer.size() - 21), "folder you can write.");
}

TEST(DumpBoxes, EveryReasonTheDumpCannotBeOpened) {
  const std::string head =
      "The debugger could not open the dump:\n\nC:\\Windows\\Minidump\\a.dmp\n\n";
  const std::string pick = "Press the upper Browse... button and pick the dump file.";
  for (const ReasonCase& c : kReasons) {
    const FileCheck check = FileCheckOf(c.error, c.isFolder);
    const std::string advice =
        check.problem == FileProblem::kDenied
            ? "Copy the dump to a folder of your own (Explorer asks for an administrator's "
              "consent), or start Kestrel with \"Run as administrator\"."
            : pick;
    EXPECT_EQ(S(DumpProblemText("C:\\Windows\\Minidump\\a.dmp", check)),
              head + c.dump + "\n\n" + advice)
        << c.error;
  }
  EXPECT_EQ(S(NoDumpText()), "No dump file is named in the command string.\n\n" + pick);
  const std::string field = "C:\\" + std::string(kDumpFieldCapacity - 4, 'f');
  EXPECT_EQ(S(DumpTooLongText(field.c_str())),
            "The dump's path is longer than the 169 characters the command string can carry:\n\n" +
                field + "\n\nMove the dump to a folder with a shorter path and pick it there.");
}

TEST(WithLogFile, ReplacesTheLogValueAndKeepsTheRest) {
  const std::string composed = S(ComposeCommandString("C:\\WINDOWS", "C:\\a b.dmp"));
  const std::string tail = composed.substr(std::string(" -logo c:\\debuglog.txt").size());
  const char* docs = "C:\\Documents and Settings\\ann\\My Documents\\debuglog.txt";
  const std::string quotedDocs = std::string("\"") + docs + "\"";
  struct Case {
    std::string arguments;
    const char* log;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {composed, docs, " -logo " + quotedDocs + tail},
      {composed, "D:\\logs\\l.txt", " -logo D:\\logs\\l.txt" + tail},
      {composed, "D:\\tab\there.txt", " -logo \"D:\\tab\there.txt\"" + tail},
      {" -logo \"C:\\old log.txt\"\t-z x.dmp", "D:\\n.txt", " -logo D:\\n.txt\t-z x.dmp"},
      {" -logo relative.txt -z x.dmp", "D:\\n.txt", " -logo D:\\n.txt -z x.dmp"},
      {" -logo a.txt -c q -logo b.txt -z x", "D:\\n.txt", " -logo a.txt -c q -logo D:\\n.txt -z x"},
      {" -loga c:\\x.txt -z x", "D:\\n.txt", " -loga D:\\n.txt -z x"},  // still appended to
      {" -LOGO a.txt", "D:\\n.txt", " -LOGO D:\\n.txt"},                // the debugger's too
      {" -logou a.txt -z x", "D:\\n.txt", " -logou D:\\n.txt -z x"},
      {" -c \"q\" -z x.dmp", "D:\\n.txt", ""},  // names no log
      {" -z x.dmp -logo", "D:\\n.txt", ""},     // -logo without its file
  };
  for (const Case& c : cases)
    EXPECT_EQ(S(WithLogFile(c.arguments.c_str(), c.log)), c.expected) << c.arguments;

  // At the capacity: a string that comes to 399 characters is taken, 400 is not.
  const std::string start = " -logo c:\\debuglog.txt -z ";
  const std::string longLog = "D:\\" + std::string(100, 'n');
  const std::size_t room = kCommandCapacity - 1 - (start.size() - 15 + longLog.size());
  EXPECT_EQ(S(WithLogFile((start + std::string(room, 'z')).c_str(), longLog.c_str())).size(),
            kCommandCapacity - 1);
  EXPECT_EQ(S(WithLogFile((start + std::string(room + 1, 'z')).c_str(), longLog.c_str())), "");
}

TEST(DebugLogIn, OneSeparatorBetween) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"C:\\Users\\Ann\\Documents", "C:\\Users\\Ann\\Documents\\debuglog.txt"},
      {"C:\\Users\\Ann\\Documents\\", "C:\\Users\\Ann\\Documents\\debuglog.txt"},
      {"D:\\", "D:\\debuglog.txt"},
      {"", ""},
  };
  for (const auto& [folder, log] : cases) EXPECT_EQ(S(DebugLogIn(folder.c_str())), log) << folder;
}

TEST(IsFullPath, ADriveOrAShareOnly) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"C:\\Debuggers\\cdb.exe", true},
      {"z:\\cdb.exe", true},
      {"\\\\server\\share\\cdb.exe", true},
      {"\\\\server\\share\\", true},
      {"cdb.exe", false},
      {"debugging key not found- please install the tools (button above)", false},
      {"C:cdb.exe", false},
      {"C:", false},
      {"\\Debuggers\\cdb.exe", false},
      {"\\\\server\\cdb.exe", false},
      {"\\\\\\share\\cdb.exe", false},
      {"\\\\server\\\\cdb.exe", false},
      {"1:\\cdb.exe", false},
      {"", false},
  };
  for (const auto& [path, full] : cases) EXPECT_EQ(IsFullPath(path.c_str()), full) << path;
}

TEST(LaunchedText, NamesTheLogTheDebuggerWrites) {
  const std::string head = "When the dos window closes, your dump output has been saved to ";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"c:\\debuglog.txt", head + "c:\\debuglog.txt"},
      {"C:\\DebugLog.TXT", head + "c:\\debuglog.txt"},
      {"D:\\logs\\crash.txt", head + "D:\\logs\\crash.txt"},
      {"C:\\Debuggers\\relative.txt", head + "C:\\Debuggers\\relative.txt"},
      {"",
       "When the dos window closes, the debugger is done. The command string names no log "
       "file (-logo), so nothing is saved."},
  };
  for (const auto& [log, text] : cases) EXPECT_EQ(S(LaunchedText(log.c_str())), text) << log;
}

TEST(NotFullPathText, NamesThePathAndTheWayOut) {
  EXPECT_EQ(S(NotFullPathText("cdb.exe")),
            "The debugger's path is not a full path, so Kestrel does not start it:\n\ncdb.exe\n\n"
            "Tick Advanced and pick cdb.exe with its Browse button, or install the debugging "
            "tools (button above).");
}

TEST(Text, KeepsAtMostCapacityLessOneCharacters) {
  struct Case {
    std::size_t capacity;
    std::vector<const char*> appends;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {10, {"abc", "def"}, "abcdef"},
      {7, {"abc", "def"}, "abcdef"},  // exactly full
      {6, {"abc", "def"}, "abcde"},   // the last one cut
      {4, {"abcdef", "gh"}, "abc"},   // nothing more once full
      {1, {"abc"}, ""},               // room for the zero only
      {0, {"abc"}, ""},               // at least that
      {8, {"", "x", ""}, "x"},
  };
  for (const Case& c : cases) {
    Text text(c.capacity);
    for (const char* piece : c.appends) text += piece;
    EXPECT_EQ(S(text), c.expected) << c.capacity;
    EXPECT_EQ(text.size(), c.expected.size()) << c.capacity;
  }
  Text numbers(64);
  numbers.AppendNumber(0).Append(" ").AppendNumber(1234).Append(" ").AppendNumber(4294967295ul);
  EXPECT_EQ(S(numbers), "0 1234 4294967295");
  Text part(16);
  part.Append("abcdef", 3).Append("xyz", 0);
  EXPECT_EQ(S(part), "abc");
}

}  // namespace
