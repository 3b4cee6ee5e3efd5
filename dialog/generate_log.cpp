// windows.h must come before the other Windows headers.
#include <windows.h>

#include <shellapi.h>

#include "../command/capacities.h"
#include "../command/command_line.h"
#include "../command/paths.h"
#include "../command/texts.h"
#include "dialog.h"
#include "late_bound.h"

// Starts the debugger on the argument string in its own console window and
// tells the user where the log will be; refuses before any Browse press, and
// for whatever the debugger would fail on: a debugger path that is not a
// full one, a path or string longer than it can be given whole, a word it
// would start as a program, a dump it cannot open, and a log it cannot
// write when none is taken instead.
void GenerateLog(HWND window) {
  if (BrowseFlags < 1) {
    MessageBoxA(window, kGateText, kBoxCaption, MB_ICONERROR);
    return;
  }
  // Read whole: what a read of the launch's capacity cuts is another file.
  const Text path = ReadWholeField(window, IDC_DEBUGGER_PATH);
  Text args = ReadWholeField(window, IDC_COMMAND_STRING);
  Text problem(1), stray(1);
  // The shell would look for a bare name such as "cdb.exe" in the current
  // folder first, which the Open dialog may have made the dump's own.
  if (!IsFullPath(path.c_str()))
    problem = NotFullPathText(path.c_str());
  else if (path.size() > kLaunchPathCapacity - 1)
    problem = DebuggerTooLongText(path.c_str());
  else if (args.size() > kLaunchArgsCapacity - 1)
    problem = CommandTooLongText();
  else if (StrayWordOf(args.c_str(), stray))
    problem = StrayWordText(stray.c_str());
  if (!problem.empty()) {
    MessageBoxA(window, problem.c_str(), kBoxCaption, MB_ICONERROR);
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
