// What Kestrel fixes about Microsoft's debugging tools and its own identity:
// where the tools record themselves, where cdb.exe lies in their folders, and
// the names and addresses Kestrel uses. The debugger's options are in
// command_line.h, the texts the user sees in texts.h.
#pragma once
#include "hosts.h"

// Where the tools' installer records its folder (HKEY_CURRENT_USER).
inline constexpr char kToolsRegistryKey[] = "Software\\Microsoft\\DebuggingTools";
inline constexpr char kToolsRegistryValue[] = "WinDbg";

// Where today's Debugging Tools (the Windows SDK's and WDK's) record their
// debuggers' folder (HKEY_LOCAL_MACHINE), newest first; read when the key
// above gives no cdb.exe.
inline constexpr char kKitsRegistryKey[] = "SOFTWARE\\Microsoft\\Windows Kits\\Installed Roots";
inline constexpr const char* kKitsRootValues[] = {"WindowsDebuggersRoot10",
                                                  "WindowsDebuggersRoot81", "WindowsDebuggersRoot"};

// The WinDbg app (Microsoft Store, winget, .appinstaller), version
// 1.2506.12002.0 on, brings cdb.exe in its package, for the current user;
// looked for when neither record above gives one.
inline constexpr wchar_t kWinDbgPackageFamily[] = L"Microsoft.WinDbg_8wekyb3d8bbwe";

// Where cdb.exe lies in a Kits root, by the processor Windows runs on: its
// own debugger first, then those it can run.
inline constexpr const char* kKitSubfoldersArm64[] = {"arm64\\", "x86\\", "x64\\", nullptr};
inline constexpr const char* kKitSubfoldersAmd64[] = {"x64\\", "x86\\", nullptr};
inline constexpr const char* kKitSubfoldersI386[] = {"x86\\", "x64\\", nullptr};
// The same in a WinDbg app package: amd64 and x86 in the x64 one, arm64 in
// the ARM64 one. Its cdbX64.exe and the like are launch aliases, whose names
// do not end in cdb.exe.
inline constexpr const char* kPackageSubfoldersArm64[] = {"arm64\\", "x86\\", "amd64\\", nullptr};
inline constexpr const char* kPackageSubfoldersAmd64[] = {"amd64\\", "x86\\", nullptr};
inline constexpr const char* kPackageSubfoldersI386[] = {"x86\\", nullptr};

inline constexpr char kDebuggerFileName[] = "cdb.exe";
// The log's name, where the command string names it and in Documents.
inline constexpr char kLogFileName[] = "debuglog.txt";
inline constexpr char kSymbolServerHost[] = KESTREL_SYMBOL_SERVER_HOST;
inline constexpr char kDownloadPageUrl[] =
    "http://www.microsoft.com/whdc/devtools/debugging/installx86.mspx";

// The publisher; the dialog's caption ends with the same domain.
inline constexpr char kPublisherUrl[] = "http://" KESTREL_PUBLISHER_DOMAIN;

// The debugger's argument string, around its four insertions.
inline constexpr char kCommandHead[] =
    " -logo c:\\debuglog.txt -c \"!analyze -v;r;kv;lmtn;.logclose;q\""
    " -y SRV*c:\\symbols*http://" KESTREL_SYMBOL_SERVER_HOST "/download/symbols -i ";
inline constexpr char kCommandAfterRoot1[] = ";";
inline constexpr char kCommandAfterRoot2[] = "\\system32;";
inline constexpr char kCommandAfterRoot3[] = "\\system32\\drivers -z \"";
inline constexpr char kCommandTail[] = "\"";
// What stands in for a missing SystemRoot.
inline constexpr char kMissingRoot[] = "(null)";
