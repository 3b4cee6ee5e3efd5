// The debugger's argument string, composed from SystemRoot and the dump path.
#pragma once

#include "text.h"

// The debugger's whole argument string from SystemRoot (null when the
// variable is absent) and the dump path; never longer than kCommandCapacity-1.
Text ComposeCommandString(const char* systemRoot, const char* dumpPath);

// Whether the dump field was longer than the string can carry and `dump` is
// the part of it that was carried.
bool DumpFieldWasCut(const char* field, const char* dump);
