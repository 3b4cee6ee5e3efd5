// Paths as Windows resolves them, and the debugger's own path and folder.
#pragma once

#include "text.h"

// `path` as Windows takes it for a program whose current folder is the full
// path `folder`: a name in that folder, \name on its drive or share, X:name
// in that folder when it is on X, else in `driveFolder` when that is on X
// (the folder the environment records for drive X), else in X:\; "/" as
// "\", "." and ".." followed. Empty for an empty path.
Text FullPathOf(const char* path, const char* folder, const char* driveFolder);

// debuglog.txt in `folder`, one separator between; empty without a folder.
// The log offered, in the user's Documents, when the one named cannot be
// written.
Text DebugLogIn(const char* folder);

// Whether the debugger path is a full one: a drive letter, colon and
// backslash, or \\server\share\. The shell looks for anything else in the
// current folder first.
bool IsFullPath(const char* path);

// The folder to start the debugger in: the path less its last seven
// characters ("cdb.exe"); empty when nothing is left, for "no folder".
Text WorkingFolder(const char* debuggerPath);
