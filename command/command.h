// The pure decisions behind the dialog: no windows.h, tested on the host.
#pragma once
#include <cstddef>
#include <string>

// The debugger's whole argument string from SystemRoot (null when the
// variable is absent) and the dump path; never longer than kCommandCapacity-1.
std::string ComposeCommandString(const char* systemRoot, const std::string& dumpPath);

// The debugger field's text from what the registry read left in its buffer:
// `status` and `type` as the read reported them, `data` the whole zero-filled
// buffer of `size` bytes (not looked at after a failed read, which leaves it
// undefined). Never longer than kToolsPathCapacity-1.
std::string DebuggerPathFromRegistry(long status, unsigned long type, const char* data,
                                     std::size_t size);

// The folder to start the debugger in: the path less its last seven
// characters ("cdb.exe"); empty when nothing is left, for "no folder".
std::string WorkingFolder(const std::string& debuggerPath);
