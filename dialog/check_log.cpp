#include "../command/texts.h"
#include "dialog.h"

// Whether this user can create or write the log, leaving no trace: an
// existing log is opened for writing and closed untouched, a new one is
// created and deleted again. Sharing only reading, the open fails while
// another program, such as a debugger, is writing it. Empty when it can.
Text LogProblem(const char* log) {
  const DWORD attributes = GetFileAttributesA(log);
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return LogProblemText(log, 0, true);
  HANDLE file =
      CreateFileA(log, GENERIC_WRITE, FILE_SHARE_READ, nullptr, exists ? OPEN_EXISTING : CREATE_NEW,
                  exists ? FILE_ATTRIBUTE_NORMAL : FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return LogProblemText(log, GetLastError(), false);
  CloseHandle(file);
  return Text(1);
}
