// The cdb adapter's pure parts: reading Kestrel's options, naming and
// placing the fault, and its time stamps.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "../../command/cdb_options.h"
#include "../../command/command.h"
#include "../../tools/cdb_adapter/analysis.h"
#include "../../tools/cdb_adapter/dump_reader.h"

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

TEST(ParseCdbOptions, TheLastLogOptionSaysNewOrAppended) {
  const std::vector<std::tuple<std::string, std::string, bool>> cases = {
      {"cdb -loga a.txt -logo b.txt -z d", "b.txt", false},
      {"cdb -logo a.txt -loga \"b c.txt\" -z d", "b c.txt", true},
  };
  for (const auto& [line, log, append] : cases) {
    const CdbOptions options = ParseCdbOptions(line);
    EXPECT_EQ(options.log, log) << line;
    EXPECT_EQ(options.appendLog, append) << line;
    EXPECT_EQ(options.error, "") << line;
  }
}

TEST(ParseCdbOptions, CommandListDropsEmptyCommands) {
  EXPECT_EQ(ParseCdbOptions("cdb -c \";r;;q;\" -z d").commands,
            (std::vector<std::string>{"r", "q"}));
}

TEST(AdapterAnalysis, PlacesAnAddressInItsModule) {
  std::vector<DumpModule> modules(2);
  modules[0].base = 0x400000, modules[0].size = 0x80000, modules[0].path = "C:\\t\\crasher.exe";
  modules[1].base = 0x7bc00000, modules[1].size = 0x2ba000, modules[1].path = "ntdll.dll";
  const std::vector<std::tuple<std::uint64_t, int, std::uint64_t, std::string>> cases = {
      {0x4015b4, 0, 0x15b4, "crasher.exe+0x15b4"},
      {0x400000, 0, 0, "crasher.exe+0x0"},
      {0x480000, -1, 0x480000, "unknown module"},  // one past the end
      {0x7bc00010, 1, 0x10, "ntdll.dll+0x10"},
  };
  for (const auto& [address, module, offset, text] : cases) {
    const Place place = PlaceOf(modules, address);
    EXPECT_EQ(place.module, module) << text;
    EXPECT_EQ(place.offset, offset) << text;
    EXPECT_EQ(PlaceText(modules, place), text);
  }
  EXPECT_EQ(PlaceOf({}, 0x1000).module, -1);
  EXPECT_EQ(BaseName("C:\\dir\\crasher.exe"), "crasher.exe");
  EXPECT_EQ(BaseName("/unix/path.so"), "path.so");
  EXPECT_EQ(BaseName("plain"), "plain");
  EXPECT_EQ(ModuleName("C:\\dir\\crasher.exe"), "crasher");
  EXPECT_EQ(ModuleName("plain"), "plain");
}

TEST(AdapterAnalysis, NamesTheCommonExceptionsAsCdbDoes) {
  const std::vector<std::pair<std::uint32_t, std::string>> cases = {
      {0xC0000005, "access violation"},
      {0xC00000FD, "stack overflow"},
      {0xC000000D, "invalid parameter"},
      {0xC0000409, "stack buffer overrun (fast fail)"},
      {0x80000003, "breakpoint"},
      {0xE06D7363, "C++ exception"},
      {0xC0000094, "integer divide by zero"},
      {0xC000001D, "illegal instruction"},
      {0xC0000374, "heap corruption"},
      {0x12345678, ""},  // unknown: the caller keeps the number
  };
  for (const auto& [code, name] : cases) EXPECT_EQ(ExceptionName(code), name) << code;
}

TEST(AdapterAnalysis, TimeStampsAsCdbShowsThem) {
  EXPECT_EQ(TimeStampText(0), "Thu Jan  1 00:00:00 1970 (00000000)");
  EXPECT_EQ(TimeStampText(0x4B455354), "Thu Jan  7 03:21:56 2010 (4B455354)");
  EXPECT_EQ(TimeStampText(951782400), "Tue Feb 29 00:00:00 2000 (38BB0C00)");  // leap day
  EXPECT_EQ(TimeStampText(0xFFFFFFFF), "Sun Feb  7 06:28:15 2106 (FFFFFFFF)");
}

}  // namespace
