// What Kestrel fixes about Microsoft's Debugging Tools for Windows and its own
// identity: every outside name, option and address in one place.
#pragma once
#include "hosts.h"

// Where the tools' installer records its folder (HKEY_CURRENT_USER).
inline constexpr char kToolsRegistryKey[] = "Software\\Microsoft\\DebuggingTools";
inline constexpr char kToolsRegistryValue[] = "WinDbg";

// Where today's Debugging Tools (the Windows SDK's and WDK's) record their
// debuggers' folder (HKEY_LOCAL_MACHINE), newest first; read only when the
// key above is absent. cdb.exe lies in its x64\ and x86\ subfolders.
inline constexpr char kKitsRegistryKey[] = "SOFTWARE\\Microsoft\\Windows Kits\\Installed Roots";
inline constexpr const char* kKitsRootValues[] = {"WindowsDebuggersRoot10",
                                                  "WindowsDebuggersRoot81", "WindowsDebuggersRoot"};

// The WinDbg app (Microsoft Store, winget, .appinstaller), version
// 1.2506.12002.0 on, brings cdb.exe in its package, for the current user;
// looked for when neither record above gives one.
inline constexpr wchar_t kWinDbgPackageFamily[] = L"Microsoft.WinDbg_8wekyb3d8bbwe";

inline constexpr char kDebuggerFileName[] = "cdb.exe";
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
