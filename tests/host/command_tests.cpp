// The pure core: the argument string, the debugger path from the registry,
// the working folder. Expected texts are written out in full on purpose.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../command/capacities.h"
#include "../../command/command.h"
#include "../../command/contract.h"
#include "../../command/texts.h"

namespace {

const std::string kFullString =
    " -logo c:\\debuglog.txt -c \"!analyze -v;r;kv;lmtn;.logclose;q\" -y "
    "SRV*c:\\symbols*http://msdl.microsoft.com/download/symbols -i "
    "C:\\WINDOWS;C:\\WINDOWS\\system32;C:\\WINDOWS\\system32\\drivers -z "
    "\"C:\\Dumps\\Mini120806-01.dmp\"";

TEST(ComposeCommandString, FullStringForAWindowsRootAndADump) {
  EXPECT_EQ(ComposeCommandString("C:\\WINDOWS", "C:\\Dumps\\Mini120806-01.dmp"), kFullString);
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
    const std::string text = ComposeCommandString(c.root, c.dump);
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
      EXPECT_EQ(ComposeCommandString(std::string(root, 'r').c_str(), std::string(dump, 'd')).size(),
                expected)
          << "root " << root << ", dump " << dump;
    }
  }
}

TEST(ComposeCommandString, OverlongInputsAreCutAt399) {
  const std::string longRoot(300, 'R');
  for (std::size_t rootLength : {40u, 100u, 300u}) {
    const std::string root = longRoot.substr(0, rootLength);
    const std::string text = ComposeCommandString(root.c_str(), std::string(169, 'd'));
    EXPECT_EQ(text.size(), kCommandCapacity - 1) << rootLength;
    // The cut keeps the head of the string: the options come first, intact.
    EXPECT_EQ(text.substr(0, 30), kFullString.substr(0, 30));
  }
}

struct RegistryCase {
  const char* name;
  long status;
  unsigned long type;
  std::string stored;  // bytes the read left in the zero-filled buffer
  std::string expected;
};

TEST(DebuggerPathFromRegistry, RecordedFolders) {
  const std::string folder132 = "C:\\" + std::string(128, 'f') + "\\";
  const std::string folder133 = folder132 + "g";
  const std::vector<RegistryCase> cases = {
      {"trailing separator", 0, kRegSz, "C:\\Program Files\\Debugging Tools for Windows\\",
       "C:\\Program Files\\Debugging Tools for Windows\\cdb.exe"},
      {"no trailing separator", 0, kRegSz, "C:\\Debuggers", "C:\\Debuggerscdb.exe"},
      {"expandable text, not expanded", 0, kRegExpandSz, "%ProgramFiles%\\Dbg\\",
       "%ProgramFiles%\\Dbg\\cdb.exe"},
      {"value absent", 2, 0, "", "cdb.exe"},
      {"zero length", 0, kRegSz, "", "cdb.exe"},
      {"text after the first zero ignored", 0, kRegSz, std::string("C:\\D\\\0junk", 9),
       "C:\\D\\cdb.exe"},
      {"132 characters fit exactly", 0, kRegSz, folder132, folder132 + "cdb.exe"},
      {"133 characters leave no room", 0, kRegSz, folder133, "cdb.exe"},
      {"140 bytes, no zero", 0, kRegSz, std::string(140, 'x'), "cdb.exe"},
      {"longer than the buffer", 234, kRegSz, "", "cdb.exe"},
      {"binary value", 0, 3, "C:\\Bin\\", "cdb.exe"},
      {"number value", 0, 4, std::string("A\0\0\0", 4), "cdb.exe"},
  };
  for (const RegistryCase& c : cases) {
    std::vector<char> buffer(kToolsPathCapacity, '\0');
    std::copy(c.stored.begin(), c.stored.end(), buffer.begin());
    const std::string path =
        DebuggerPathFromRegistry(c.status, c.type, buffer.data(), buffer.size());
    EXPECT_EQ(path, c.expected) << c.name;
    EXPECT_LE(path.size(), kToolsPathCapacity - 1) << c.name;
  }
}

TEST(DebuggerPathFromRegistry, ReadsNothingPastTheGivenSize) {
  // An exact-size heap block: AddressSanitizer reports any read past it.
  std::vector<char> bytes(20, 'a');
  EXPECT_EQ(DebuggerPathFromRegistry(0, kRegSz, bytes.data(), bytes.size()),
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
  for (const auto& [path, folder] : cases) EXPECT_EQ(WorkingFolder(path), folder) << path;
}

TEST(LaunchFailureText, NamesThePathAndTheWayOut) {
  const std::string text = LaunchFailureText("C:\\Nowhere\\cdb.exe");
  EXPECT_NE(text.find("C:\\Nowhere\\cdb.exe"), std::string::npos);
  EXPECT_NE(text.find("Advanced"), std::string::npos);
  EXPECT_NE(text.find("install the debugging tools"), std::string::npos);
}

}  // namespace
