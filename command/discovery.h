// Where cdb.exe may lie: the paths discovery tries, from the registry's
// records and the WinDbg app's packages, in the order it tries them.
#pragma once
#include <cstddef>

#include "text.h"

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
// `nativeMachine`, as KitSubfolders.
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
