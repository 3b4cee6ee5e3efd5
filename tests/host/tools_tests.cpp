// The cdb adapter's pure parts: reading Kestrel's options, naming and
// placing the fault, and its time stamps.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "../../command/cdb_options.h"
#include "../../command/command_string.h"
#include "../../tools/cdb_adapter/analysis.h"
#include "../../tools/cdb_adapter/dump_reader.h"

namespace {

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
  EXPECT_EQ(options.dumps, std::vector<std::string>{"C:\\My Dumps\\Mini 1.dmp"});
  EXPECT_EQ(options.ignored, std::vector<std::string>{});
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
