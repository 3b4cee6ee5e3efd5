// The main dialog's procedure, its actions (one a file) and the state they share.
#pragma once
#include <windows.h>

#include <cstddef>

#include "../command/file_check.h"
#include "../command/text.h"
#include "resource.h"

// Which Browse buttons were pressed since start; bits are only ever added.
enum { BROWSE_DUMP = 1, BROWSE_DEBUGGER = 2 };
extern INT32 BrowseFlags;

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Actions, one per file.
void DiscoverDebugger(HWND window);
void BuildCommandString(HWND window);
void BrowseForDump(HWND window);
void BrowseForDebugger(HWND window);
void GenerateLog(HWND window);
void SwitchAdvancedMode(HWND window);
void OpenWebPage(HWND window, const char* url);

// Whether the debugger may go ahead with the log that `arguments` names,
// perhaps after taking one in Documents instead (both updated then).
bool SettleLog(HWND window, Text& arguments, Text& log);

// Whether the debugger, started in `folder`, can open every dump that
// `arguments` names; a box has said why not.
bool DumpIsReadable(HWND window, const char* arguments, const char* folder);

// Whether `path` opens with `access` and `share` (created and deleted again
// when it is absent and `mayCreate`), leaving no trace.
FileCheck CheckFile(const char* path, DWORD access, DWORD share, bool mayCreate);

// A path of the argument string as the debugger started in `folder` takes it.
Text FullPathAsStartedIn(const char* path, const char* folder);

// A field's text, cut to capacity-1 characters as the control read does;
// or whole, however long.
Text ReadField(HWND window, int id, std::size_t capacity);
Text ReadWholeField(HWND window, int id);
