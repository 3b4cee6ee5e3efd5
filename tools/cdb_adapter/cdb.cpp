// A cdb.exe for Linux users of Kestrel: takes cdb's options as cdb reads them,
// reads the dump itself (dump_reader), walks the faulting thread's stack
// with dbghelp (stack) and writes the answers in cdb's order to the log of
// -logo, -loga, -logou or -logau (analysis, output).
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../../command/cdb_options.h"
#include "analysis.h"
#include "dump_reader.h"
#include "output.h"
#include "stack.h"

int main() {
  CdbOptions options = ParseCdbOptions(GetCommandLineA());
  Output out;
  if (!options.log.empty()) out.Open(options.log, options.appendLog, options.unicodeLog);
  out << "Kestrel's cdb adapter over dbghelp: not Microsoft's cdb.exe.\n"
         "It reads the dump itself, walks the stack with dbghelp and downloads no symbols.\n\n";
  if (options.error.empty() && !options.program.empty())
    options.error = "it opens dumps only, and does not start the program " + options.program;
  if (!options.error.empty()) {
    out << "Command line error: " << options.error << "\n";
    return 2;
  }
  for (const std::string& option : options.ignored)
    out << "This adapter does not act on the option " << option << ".\n";
  const std::string& dumpPath = options.dumps.front();
  for (std::size_t i = 1; i < options.dumps.size(); ++i)
    out << "This adapter opens only the first dump, not " << options.dumps[i] << ".\n";
  out << "Loading Dump File [" << dumpPath << "]\n";
  out << "Symbol search path is: " << options.symbolPath << "\n";
  out << "Executable search path is: " << options.imagePath << "\n\n";

  std::ifstream in(dumpPath, std::ios::binary);
  if (!in) {
    out << "Could not open the dump file " << dumpPath << ": it is missing or unreadable.\n";
    return 1;
  }
  const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), {}};
  if (!IsMinidump(file.data(), file.size())) {
    out << "The file " << dumpPath << " is not a minidump (no MDMP signature).\n";
    return 1;
  }
  const Dump dump = ReadDump(file.data(), file.size());
  // A damaged dump is said plainly once; the log still closes as asked.
  if (!dump.damage.empty()) out << "The dump is damaged: " << dump.damage << ".\n\n";
  // One walk serves both !analyze -v and kv.
  const std::string stack = dump.damage.empty() ? StackText(dump, file) : std::string();

  for (const std::string& command : options.commands) {
    out << "0:000> " << command << "\n";
    const bool whole = dump.damage.empty();
    if (command == ".logclose") {
      out << "Closing open log file " << options.log << "\n";
      out.Close();
    } else if (command == "q") {
      out << "quit:\n";
      break;
    } else if (!whole) {
      out << "Not read: the dump is damaged.\n\n";
    } else if (command == "!analyze -v") {
      out << AnalysisText(dump, stack) << "\n";
    } else if (command == "r") {
      const DumpException& exception = dump.exception;
      out << (exception.present ? RegistersText(dump.machine, file.data() + exception.contextRva,
                                                exception.contextSize)
                                : std::string("The dump holds no exception context.\n"))
          << "\n";
    } else if (command == "kv") {
      out << stack << "\n";
    } else if (command == "lmtn") {
      out << ModulesText(dump.machine, dump.modules) << "\n";
    } else {
      out << command << ": this adapter does not support that command.\n\n";
    }
  }
  return dump.damage.empty() ? 0 : 1;
}
