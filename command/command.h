// The pure decisions behind the dialog: no windows.h, tested on the host.
#pragma once
#include <cstddef>

#include "text.h"

// The debugger's whole argument string from SystemRoot (null when the
// variable is absent) and the dump path; never longer than kCommandCapacity-1.
Text ComposeCommandString(const char* systemRoot, const char* dumpPath);

// The debugger field's text from what the registry read left in its buffer:
// `status` as the read reported it, `data` the whole zero-filled buffer of
// `size` bytes (not looked at after a failed read, which leaves it
// undefined). The value's type does not matter. Never longer than
// kToolsPathCapacity-1.
Text DebuggerPathFromRegistry(long status, const char* data, std::size_t size);

// Where a Windows Kits debuggers root may hold cdb.exe: its x64\ subfolder
// when `x64`, else its x86\ one. `data` and `status` as for
// DebuggerPathFromRegistry; empty for a failed read, an empty root, and a
// path that would not fit kToolsPathCapacity-1.
Text KitDebuggerCandidate(long status, const char* data, std::size_t size, bool x64);

// The log file that the argument string names with -logo, read as the
// debugger reads its options, and taken in `folder` (the debugger's working
// folder) when it is relative; empty when the string names none.
Text LogFileOf(const char* arguments, const char* folder);

// The argument string with the value of its -logo (the last, which the
// debugger takes) replaced by `log`, in double quotes when it holds a blank
// or a tab, every other character kept; empty when the string names no log
// or the result would not fit kCommandCapacity-1.
Text WithLogFile(const char* arguments, const char* log);

// The log offered when the one named cannot be written: debuglog.txt in the
// user's Documents folder, one separator between; empty without a folder.
Text DocumentsLog(const char* documents);

// Whether the debugger path is a full one: a drive letter, colon and
// backslash, or \\server\share\. The shell looks for anything else in the
// current folder first.
bool IsFullPath(const char* path);

// The folder to start the debugger in: the path less its last seven
// characters ("cdb.exe"); empty when nothing is left, for "no folder".
Text WorkingFolder(const char* debuggerPath);
