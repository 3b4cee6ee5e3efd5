// The cdb adapter's pure parts: reading Kestrel's options, naming and
// placing the fault, and cutting winedbg's output into answers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../command/cdb_options.h"
#include "../../command/command.h"
#include "../../tools/cdb_adapter/analysis.h"

namespace {

struct OptionsCase {
  const char* name;
  std::string line;
  std::string dump;
  std::string error;  // empty: parsed cleanly
};

TEST(ParseCdbOptions, ReadsKestrelsExactString) {
  const std::string line = std::string("\"C:\\Debuggers\\cdb.exe\"") +
                           ComposeCommandString("C:\\WINDOWS", "C:\\My Dumps\\Mini 1.dmp").c_str();
  const CdbOptions options = ParseCdbOptions(line);
  EXPECT_EQ(options.error, "");
  EXPECT_EQ(options.log, "c:\\debuglog.txt");
  EXPECT_EQ(options.commands,
            (std::vector<std::string>{"!analyze -v", "r", "kv", "lmtn", ".logclose", "q"}));
  EXPECT_EQ(options.symbolPath, "SRV*c:\\symbols*http://msdl.microsoft.com/download/symbols");
  EXPECT_EQ(options.imagePath, "C:\\WINDOWS;C:\\WINDOWS\\system32;C:\\WINDOWS\\system32\\drivers");
  EXPECT_EQ(options.dump, "C:\\My Dumps\\Mini 1.dmp");
}

TEST(ParseCdbOptions, ShapesAndFaults) {
  const std::vector<OptionsCase> cases = {
      {"dump with blanks", "cdb -z \"C:\\a b\\c d.dmp\"", "C:\\a b\\c d.dmp", ""},
      {"program path with blanks", "\"C:\\Program Files\\cdb.exe\" -z x.dmp", "x.dmp", ""},
      {"tabs and runs of blanks", "cdb\t -z \t x.dmp  ", "x.dmp", ""},
      {"no -z", "cdb -logo c:\\l.txt", "", "no dump file (-z)"},
      {"option without value", "cdb -z x.dmp -logo", "x.dmp", "option -logo has no value"},
      {"unknown option", "cdb -k -z x.dmp", "x.dmp", "unknown option -k"},
      {"unterminated quote", "cdb -z \"C:\\open ended.dmp", "C:\\open ended.dmp",
       "a double quote is not closed"},
      {"empty line", "", "", "no dump file (-z)"},
  };
  for (const OptionsCase& c : cases) {
    const CdbOptions options = ParseCdbOptions(c.line);
    EXPECT_EQ(options.dump, c.dump) << c.name;
    EXPECT_EQ(options.error, c.error) << c.name;
  }
}

TEST(ParseCdbOptions, CommandListDropsEmptyCommands) {
  EXPECT_EQ(ParseCdbOptions("cdb -c \";r;;q;\" -z d").commands,
            (std::vector<std::string>{"r", "q"}));
}

TEST(AdapterAnalysis, PlacesAnAddressInItsModule) {
  const std::vector<LoadedModule> modules = {{"crasher.exe", 0x400000, 0x80000},
                                             {"ntdll.dll", 0x7bc00000, 0x2ba000}};
  EXPECT_EQ(PlaceAddress(modules, 0x4015b4), "crasher.exe+0x15b4");
  EXPECT_EQ(PlaceAddress(modules, 0x400000), "crasher.exe+0x0");
  EXPECT_EQ(PlaceAddress(modules, 0x480000), "unknown module");  // one past the end
  EXPECT_EQ(PlaceAddress(modules, 0x7bc00010), "ntdll.dll+0x10");
  EXPECT_EQ(PlaceAddress({}, 0x1000), "unknown module");
  EXPECT_EQ(ExceptionName(0xC0000005), "access violation");
  EXPECT_EQ(ExceptionName(0x12345678), "");
  EXPECT_EQ(BaseName("C:\\dir\\crasher.exe"), "crasher.exe");
  EXPECT_EQ(BaseName("/unix/path.so"), "path.so");
  EXPECT_EQ(BaseName("plain"), "plain");
}

TEST(AdapterAnalysis, CutsWinedbgOutputAtItsPrompts) {
  const std::string output =
      "WineDbg starting on minidump\nBacktrace on load\nWine-dbg>Register dump:\n EIP:1\n"
      "Wine-dbg>Backtrace:\n=>0 0x1\nWine-dbg>Module\tAddress\nWine-dbg>";
  EXPECT_EQ(WinedbgAnswers(output),
            (std::vector<std::string>{"Register dump:\n EIP:1\n", "Backtrace:\n=>0 0x1\n",
                                      "Module\tAddress\n", ""}));
  EXPECT_TRUE(WinedbgAnswers("no prompt at all").empty());
}

}  // namespace
