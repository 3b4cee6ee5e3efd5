#include <utility>

#include "../command/capacities.h"
#include "../command/command_line.h"
#include "../command/file_check.h"
#include "../command/paths.h"
#include "../command/texts.h"
#include "dialog.h"
#include "late_bound.h"

namespace {

// Whether this user can create or write the log. Sharing only reading, the
// open fails while another program, such as a debugger, is writing it.
FileCheck CheckLogFile(const char* log) {
  return CheckFile(log, GENERIC_WRITE, FILE_SHARE_READ, true);
}

// debuglog.txt in this user's Documents folder, which an ordinary user may
// write where C:\ is closed to them; empty when the folder cannot be had.
Text DocumentsLog() {
  Text folder(MAX_PATH);
  const auto getFolderPath = LateBound<HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, char*)>(
      "shell32.dll", "SHGetFolderPathA");
  const int kPersonal = 5;  // CSIDL_PERSONAL, the Documents folder
  if (!getFolderPath || getFolderPath(nullptr, kPersonal, nullptr, 0, folder.data()) != S_OK)
    folder.Clear();
  return DebugLogIn(folder.c_str());
}

void Refuse(HWND window, const char* log, FileCheck check) {
  MessageBoxA(window, LogProblemText(log, check).c_str(), kBoxCaption, MB_ICONERROR);
}

}  // namespace

// A debugger that cannot write its log still runs and quits: rather than
// promise a log that will not be there, offer one in Documents. On Yes the
// argument string (its field too) and `log` name that one. False when
// nothing is to be started; a box has said why.
bool SettleLog(HWND window, Text& arguments, Text& log) {
  const FileCheck check = CheckLogFile(log.c_str());
  if (check.problem == FileProblem::kNone) return true;
  Text offered = DocumentsLog();
  Text changed = offered.empty() || SameTextIgnoringCase(offered.c_str(), log.c_str())
                     ? Text(1)
                     : WithLogFile(arguments.c_str(), offered.c_str());
  if (changed.empty()) {
    Refuse(window, log.c_str(), check);
    return false;
  }
  const Text offer = LogOfferText(log.c_str(), check, offered.c_str());
  if (MessageBoxA(window, offer.c_str(), kBoxCaption, MB_YESNO | MB_ICONERROR) != IDYES)
    return false;
  SetDlgItemTextA(window, IDC_COMMAND_STRING, changed.c_str());
  static_assert(kLaunchArgsCapacity == kCommandCapacity, "the offer's string replaces the field's");
  arguments = std::move(changed);
  log = std::move(offered);
  const FileCheck offeredCheck = CheckLogFile(log.c_str());
  if (offeredCheck.problem == FileProblem::kNone) return true;
  Refuse(window, log.c_str(), offeredCheck);
  return false;
}
