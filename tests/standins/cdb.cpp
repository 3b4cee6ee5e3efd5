// Stand-in for cdb.exe in the tests: records how it was started
// (cdb-record.txt beside itself: the raw command line, then the current
// folder) and writes the -logo file (or appends to the -loga one) saying
// what it was asked to do (in 8-bit text, also for -logou and -logau).
#include <windows.h>

#include <fstream>
#include <string>

#include "../../command/cdb_options.h"
#include "beside_self.h"

int main() {
  char folder[MAX_PATH] = {};
  GetCurrentDirectoryA(sizeof folder, folder);
  const std::string line = GetCommandLineA();
  std::ofstream(BesideSelf("cdb-record.txt"), std::ios::binary) << line << "\n" << folder << "\n";

  const CdbOptions options = ParseCdbOptions(line);
  if (options.log.empty()) return 1;
  std::ofstream log(options.log,
                    std::ios::binary | (options.appendLog ? std::ios::app : std::ios::trunc));
  log << "Kestrel's stand-in debugger: this is not cdb.exe and analysed nothing.\n"
      << "log: " << (options.unicodeLog ? "Unicode" : "8-bit") << "\n";
  for (const std::string& dump : options.dumps) log << "dump: " << dump << "\n";
  log << "symbol path: " << options.symbolPath << "\n"
      << "image path: " << options.imagePath << "\n"
      << "commands:";
  for (const std::string& command : options.commands) log << " [" << command << "]";
  log << "\n";
  return options.error.empty() ? 0 : 1;
}
