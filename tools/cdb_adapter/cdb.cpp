// A cdb.exe for Linux users of Kestrel: takes the options Kestrel composes,
// reads the dump itself (dump_reader), walks the faulting thread's stack
// with dbghelp (stack) and writes the answers in cdb's order to the -logo
// or -loga file (analysis, output).
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
  const CdbOptions options = ParseCdbOptions(GetCommandLineA());
  Output out;
  if (!options.log.empty()) out.Open(options.log, options.appendLog);
  out << "Kestrel's cdb adapter over dbghelp: not Microsoft's cdb.exe.\n"
         "It reads the dump itself, walks the stack with dbghelp and downloads no symbols.\n\n";
  if (!options.error.empty()) {
    out << "Command line error: " << options.error << "\n";
    return 2;
  }
  out << "Loading Dump File [" << options.dump << "]\n";
  out << "Symbol search path is: " << options.symbolPath << "\n";
  out << "Executable search path is: " << options.imagePath << "\n\n";

  std::ifstream in(options.dump, std::ios::binary);
  if (!in) {
    out << "Could not open the dump file " << options.dump << ": it is missing or unreadable.\n";
    return 1;
  }
  const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), {}};
  if (!IsMinidump(file.data(), file.size())) {
    out << "The file " << options.dump << " is not a minidump (no MDMP signature).\n";
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
