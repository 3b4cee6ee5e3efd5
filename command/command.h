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

// Processors as Windows names them (IMAGE_FILE_MACHINE_...).
inline constexpr unsigned short kMachineI386 = 0x014C;
inline constexpr unsigned short kMachineAmd64 = 0x8664;
inline constexpr unsigned short kMachineArm64 = 0xAA64;

// The Windows Kits' subfolders that may hold cdb.exe, null-terminated, in the
// order to try them on Windows that runs natively on `nativeMachine`: the
// debugger of its own processor first, then those it can run.
const char* const* KitSubfolders(unsigned short nativeMachine);

// Where a Windows Kits debuggers root may hold cdb.exe: in its `subfolder`
// (one of KitSubfolders). `data` and `status` as for
// DebuggerPathFromRegistry; empty for a failed read, an empty root, and a
// path that would not fit kToolsPathCapacity-1.
Text KitDebuggerCandidate(long status, const char* data, std::size_t size, const char* subfolder);

// The subfolders of a WinDbg app package that may hold cdb.exe,
// null-terminated, in the order to try them on Windows that runs natively on
// `nativeMachine`, as KitSubfolders. (The package's cdbX64.exe and the like
// are launch aliases, whose names do not end in cdb.exe.)
const char* const* PackageSubfolders(unsigned short nativeMachine);

// Whether package `a` is of a higher version than `b`, from their full names
// (Name_Version_Processor_Resource_Publisher); the versions' four parts
// compared as numbers. A name without a version is the lowest.
bool IsNewerPackage(const wchar_t* a, const wchar_t* b);

// cdb.exe in the packages of `count` full names, the newest first, and in
// each in its subfolders in order: the first path that `exists`. `folderOf`
// gives package i's folder, empty when it has none in the ANSI code page; a
// path longer than kToolsPathCapacity-1 is no candidate. Empty when none is.
Text PackageDebugger(const wchar_t* const* fullNames, std::size_t count,
                     unsigned short nativeMachine, Text (*folderOf)(std::size_t, void*),
                     bool (*exists)(const char*, void*), void* context);

// The log file that the argument string names with its last -logo, -loga,
// -logou or -logau, read as the debugger reads its options, as written
// there; empty when the string names none.
Text LogFileOf(const char* arguments);

// The `index`-th dump file (from 0) that the argument string names with -z,
// as written there; `named` is false when the string has no such -z.
Text DumpFileOf(const char* arguments, std::size_t index, bool& named);

// Whether the debugger would start a program: the first word of the
// argument string that is neither an option nor an option's value (in
// `word`, unquoted), when the string also names a dump with -z, before or
// after that word. A string without -z is the user's own command.
bool StrayWordOf(const char* arguments, Text& word);

// Whether the dump field was longer than the string can carry and `dump` is
// the part of it that was carried.
bool DumpFieldWasCut(const char* field, const char* dump);

// `path` as Windows takes it for a program whose current folder is the full
// path `folder`: a name in that folder, \name on its drive or share, X:name
// in that folder when it is on X, else in `driveFolder` when that is on X
// (the folder the environment records for drive X), else in X:\; "/" as
// "\", "." and ".." followed. Empty for an empty path.
Text FullPathOf(const char* path, const char* folder, const char* driveFolder);

// The argument string with the value of its last log option (the one the
// debugger takes) replaced by `log`, in double quotes when it holds a blank
// or a tab, every other character kept; empty when the string names no log
// or the result would not fit kCommandCapacity-1.
Text WithLogFile(const char* arguments, const char* log);

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

// What opening a file found, from what Windows said (`error`, a
// GetLastError code, 0 for none) and whether the path is a folder.
// A read-only file is told by its attribute: Windows denies its opening as
// it denies a lack of rights.
enum class FileProblem {
  kNone,
  kFolder,
  kReadOnly,
  kNoFile,
  kNoFolder,
  kDenied,
  kInUse,
  kBadName,
  kOther
};
struct FileCheck {
  FileProblem problem;
  unsigned long error;
};
FileCheck FileCheckOf(unsigned long error, bool isFolder, bool isReadOnly = false);
