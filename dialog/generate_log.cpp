// windows.h must come before the other Windows headers.
#include <windows.h>

#include <shellapi.h>

#include "../command/capacities.h"
#include "../command/command.h"
#include "../command/texts.h"
#include "dialog.h"
#include "late_bound.h"

// Starts the debugger on the argument string in its own console window and
// tells the user where the log will be; refuses before any Browse press,
// for a debugger path that is not a full one, for a dump it cannot open,
// and when the log it names cannot be written and none is taken instead.
void GenerateLog(HWND window) {
  if (BrowseFlags < 1) {
    MessageBoxA(window, kGateText, kBoxCaption, MB_ICONERROR);
    return;
  }
  const Text path = ReadField(window, IDC_DEBUGGER_PATH, kLaunchPathCapacity);
  Text args = ReadField(window, IDC_COMMAND_STRING, kLaunchArgsCapacity);
  // The shell would look for a bare name such as "cdb.exe" in the current
  // folder first, which the Open dialog may have made the dump's own.
  if (!IsFullPath(path.c_str())) {
    MessageBoxA(window, NotFullPathText(path.c_str()).c_str(), kBoxCaption, MB_ICONERROR);
    return;
  }
  const Text folder = WorkingFolder(path.c_str());
  if (!DumpIsReadable(window, args.c_str(), folder.c_str())) return;
  Text log = FullPathAsStartedIn(LogFileOf(args.c_str()).c_str(), folder.c_str());
  if (!log.empty() && !SettleLog(window, args, log)) return;
  const auto shellExecute = LateBound<decltype(&ShellExecuteA)>("shell32.dll", "ShellExecuteA");
  const HINSTANCE result =
      shellExecute ? shellExecute(window, "open", path.c_str(), args.c_str(),
                                  folder.empty() ? nullptr : folder.c_str(), SW_SHOWNOACTIVATE)
                   : nullptr;
  // ShellExecute reports failure as a value of 32 or less.
  if (reinterpret_cast<INT_PTR>(result) <= 32) {
    MessageBoxA(window, LaunchFailureText(path.c_str()).c_str(), kBoxCaption, MB_ICONERROR);
    return;
  }
  Sleep(2000);
  MessageBoxA(window, LaunchedText(log.c_str()).c_str(), kBoxCaption, MB_ICONINFORMATION);
}
