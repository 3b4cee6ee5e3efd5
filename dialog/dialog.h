// The main dialog: resource and control ids (shared with the .rc) and its actions.
#pragma once

#define IDD_MAIN 101
#define IDB_BANNER 102

#define IDC_DUMP_PATH 1001
#define IDC_BROWSE_DUMP 1002
#define IDC_COMMAND_STRING 1003
#define IDC_ADVANCED 1004
#define IDC_DEBUGGER_PATH 1005
#define IDC_BROWSE_DEBUGGER 1006
#define IDC_DOWNLOAD_TOOLS 1007
#define IDC_VISIT_SITE 1008
#define IDC_DEBUGGER_LABEL 1009
#define IDC_COMMAND_LABEL 1010

#ifndef RC_INVOKED
#include <windows.h>

#include <cstddef>

#include "../command/text.h"

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

// A path of the argument string as the debugger started in `folder` takes it.
Text FullPathAsStartedIn(const char* path, const char* folder);

// A field's text, cut to capacity-1 characters as the control read does;
// or whole, however long.
Text ReadField(HWND window, int id, std::size_t capacity);
Text ReadWholeField(HWND window, int id);
#endif
