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
// and when the log it names cannot be written.
void GenerateLog(HWND window) {
  if (BrowseFlags < 1) {
    MessageBoxA(window, kGateText, kBoxCaption, MB_ICONERROR);
    return;
  }
  const Text path = ReadField(window, IDC_DEBUGGER_PATH, kLaunchPathCapacity);
  const Text args = ReadField(window, IDC_COMMAND_STRING, kLaunchArgsCapacity);
  const Text folder = WorkingFolder(path.c_str());
  // A debugger that cannot write its log still runs and quits: say so now
  // rather than promise a log that will not be there.
  const Text log = LogFileOf(args.c_str(), folder.c_str());
  const Text problem = log.empty() ? Text(1) : LogProblem(log.c_str());
  if (!problem.empty()) {
    MessageBoxA(window, problem.c_str(), kBoxCaption, MB_ICONERROR);
    return;
  }
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
  MessageBoxA(window, kLaunchedText, kBoxCaption, MB_ICONINFORMATION);
}
