// The pure decisions behind the dialog: no windows.h, tested on the host.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

// The debugger's whole argument string from SystemRoot (null when the
// variable is absent) and the dump path; never longer than kCommandCapacity-1.
std::string ComposeCommandString(const char* systemRoot, const std::string& dumpPath);

// The debugger field's text from what the registry read left in its buffer:
// `status` as the read reported it, `data` the whole zero-filled buffer of
// `size` bytes (not looked at after a failed read, which leaves it
// undefined). The value's type does not matter. Never longer than
// kToolsPathCapacity-1.
std::string DebuggerPathFromRegistry(long status, const char* data, std::size_t size);

// Where a Windows Kits debuggers root may hold cdb.exe, in the order to try:
// the subfolder for this Windows (x64\ on 64-bit Windows, else x86\), then
// the other. `data` and `status` as for DebuggerPathFromRegistry; none for a
// failed read, and none that would not fit kToolsPathCapacity-1.
std::vector<std::string> KitDebuggerCandidates(long status, const char* data, std::size_t size,
                                               bool windows64);

// The log file that the argument string names with -logo, read as the
// debugger reads its options, and taken in `folder` (the debugger's working
// folder) when it is relative; empty when the string names none.
std::string LogFileOf(const std::string& arguments, const std::string& folder);

// The folder to start the debugger in: the path less its last seven
// characters ("cdb.exe"); empty when nothing is left, for "no folder".
std::string WorkingFolder(const std::string& debuggerPath);
