#include "../command/capacities.h"
#include "../command/command_line.h"
#include "../command/command_string.h"
#include "../command/file_check.h"
#include "../command/texts.h"
#include "dialog.h"

namespace {

// Whether the debugger can open the dump, asked as a reader that leaves any
// writer alone.
FileCheck CheckDumpFile(const char* dump) {
  return CheckFile(dump, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                   false);
}

}  // namespace

// A debugger that cannot open a dump fails at once and its window closes
// as if it were done: say so instead of starting it, for the first dump of
// the string that cannot be opened. A string with no -z is the user's own
// command and goes as it is. False when nothing is to be started; a box has
// said why.
bool DumpIsReadable(HWND window, const char* arguments, const char* folder) {
  const Text field = ReadField(window, IDC_DUMP_PATH, kDumpFieldCapacity);
  Text problem(1);
  bool named = true;
  for (std::size_t index = 0; problem.empty(); ++index) {
    const Text value = DumpFileOf(arguments, index, named);
    if (!named) break;
    if (value.empty()) {
      problem = NoDumpText();
    } else if (DumpFieldWasCut(field.c_str(), value.c_str())) {
      problem = DumpTooLongText(field.c_str());
    } else {
      const Text dump = FullPathAsStartedIn(value.c_str(), folder);
      const FileCheck check = CheckDumpFile(dump.c_str());
      if (check.problem != FileProblem::kNone) problem = DumpProblemText(dump.c_str(), check);
    }
  }
  if (problem.empty()) return true;
  MessageBoxA(window, problem.c_str(), kBoxCaption, MB_ICONERROR);
  return false;
}
