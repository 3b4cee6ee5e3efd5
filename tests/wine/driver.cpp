#include "driver.h"

#include <shlobj.h>

#include <fstream>
#include <sstream>
#include <vector>

namespace {

constexpr DWORD kPollMs = 50;
constexpr char kToolsKey[] = "Software\\Microsoft\\DebuggingTools";

struct Search {
  DWORD processId;
  HWND owner;
  const char* windowClass;
  HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM param) {
  Search& search = *reinterpret_cast<Search*>(param);
  char windowClass[64] = {};
  GetClassNameA(window, windowClass, sizeof windowClass);
  if (std::string(windowClass) != search.windowClass || !IsWindowVisible(window)) return TRUE;
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  const bool match = search.owner ? GetWindow(window, GW_OWNER) == search.owner
                                  : processId == search.processId && !GetWindow(window, GW_OWNER);
  if (!match) return TRUE;
  search.found = window;
  return FALSE;
}

HWND Poll(Search search, DWORD ms) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(kPollMs)) {
    search.found = nullptr;
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
  }
  return nullptr;
}

HWND ChildOfClass(HWND parent, const char* windowClass, bool withText) {
  for (HWND child = FindWindowExA(parent, nullptr, windowClass, nullptr); child;
       child = FindWindowExA(parent, child, windowClass, nullptr)) {
    if (!withText || !WindowText(child).empty()) return child;
  }
  return nullptr;
}

bool Start(const std::string& commandLine, PROCESS_INFORMATION& process) {
  std::vector<char> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  return CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process) != FALSE;
}

}  // namespace

Kestrel::Kestrel(const std::string& arguments) {
  if (!Start("\"" + KestrelExe() + "\"" + (arguments.empty() ? "" : " " + arguments), process_))
    return;
  dialog_ = Poll({process_.dwProcessId, nullptr, "#32770", nullptr}, kWindowWaitMs);
}

Kestrel::~Kestrel() {
  if (!process_.hProcess) return;
  if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, 5000);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

DWORD Kestrel::WaitForExit(DWORD ms) {
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(process_.hProcess, ms) == WAIT_OBJECT_0)
    GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

namespace {

// Wine shows the Linux root as drive Z:.
std::string FromLinux(const std::string& path) {
  std::string windows = "Z:" + path;
  for (char& c : windows)
    if (c == '/') c = '\\';
  return windows;
}

}  // namespace

std::string BuildPath(const std::string& relative) {
  return FromLinux(std::string(KESTREL_BUILD_DIR) + "/" + relative);
}

std::string KestrelExe() { return BuildPath("kestrel.exe"); }
std::string ShippedExe() { return FromLinux(KESTREL_SHIPPED_EXE); }
std::string StandinToolsFolder() { return BuildPath("standin-tools/"); }

HWND WaitForOwned(HWND owner, const char* windowClass, DWORD ms) {
  return Poll({0, owner, windowClass, nullptr}, ms);
}

bool NoOwnedWindow(HWND owner, DWORD ms) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(kPollMs)) {
    Search search = {0, owner, "#32770", nullptr};
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return true;
  }
  return false;
}

bool WaitForClosed(HWND window, DWORD ms) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(kPollMs))
    if (!IsWindow(window)) return true;
  return false;
}

std::string WindowText(HWND window) {
  char text[1024] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 5000, &copied);
  return text;
}

std::string ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

void SetItemText(HWND dialog, int id, const std::string& text) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                      SMTO_ABORTIFHUNG, 5000, &result);
}

// Posted, as a click is: the action may open a modal box and not return.
void Click(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

LONG_PTR Style(HWND dialog, int id) { return GetWindowLongPtrA(GetDlgItem(dialog, id), GWL_STYLE); }
bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
bool ReadOnly(HWND dialog, int id) { return (Style(dialog, id) & ES_READONLY) != 0; }

std::string MessageText(HWND box) {
  HWND text = GetDlgItem(box, 0xFFFF);
  return text ? WindowText(text) : WindowText(ChildOfClass(box, "Static", true));
}

void PressOk(HWND box) { PressButton(box, IDOK); }
void PressButton(HWND box, int id) { PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

void OpenDialogChoose(HWND open, const std::string& path) {
  // The file name box: a combo box (cmb13) in the Explorer style, else an edit (edt1).
  HWND name = GetDlgItem(open, 0x47C);
  if (!name) name = GetDlgItem(open, 0x480);
  DWORD_PTR result = 0;
  SendMessageTimeoutA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()), SMTO_ABORTIFHUNG,
                      5000, &result);
  PostMessageA(open, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(open, IDOK)));
}

void OpenDialogCancel(HWND open) {
  PostMessageA(open, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(open, IDCANCEL)));
}

std::string OpenDialogFilters(HWND open) {
  HWND types = GetDlgItem(open, 0x470);  // cmb1, the file type list
  DWORD_PTR count = 0;
  SendMessageTimeoutA(types, CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count);
  std::string list;
  for (DWORD_PTR i = 0; i < count; ++i) {
    // The Open dialog's controls are Unicode windows: ask in Unicode.
    wchar_t item[256] = {};
    char narrow[256] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item), SMTO_ABORTIFHUNG,
                        5000, &ignored);
    WideCharToMultiByte(CP_ACP, 0, item, -1, narrow, sizeof narrow, nullptr, nullptr);
    list += (i ? "|" : "") + std::string(narrow);
  }
  return list;
}

std::string ChooseWith(HWND dialog, int button, const std::string& path) {
  Click(dialog, button);
  HWND open = WaitForOwned(dialog);
  if (!open) return "(no Open dialog)";
  const std::string filters = OpenDialogFilters(open);
  OpenDialogChoose(open, path);
  return NoOwnedWindow(dialog, 10000) ? filters : "(no Open dialog)";
}

std::string KestrelResource(int type, int id) {
  HMODULE exe = LoadLibraryExA(ShippedExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!exe) return "";
  std::string bytes;
  if (HRSRC found = FindResourceExA(exe, MAKEINTRESOURCEA(type), MAKEINTRESOURCEA(id),
                                    MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)))
    bytes.assign(static_cast<const char*>(LockResource(LoadResource(exe, found))),
                 SizeofResource(exe, found));
  FreeLibrary(exe);
  return bytes;
}

void SetToolsValue(DWORD type, const std::string& bytes) {
  HKEY key = nullptr;
  RegCreateKeyExA(HKEY_CURRENT_USER, kToolsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                  nullptr);
  RegSetValueExA(key, "WinDbg", 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                 static_cast<DWORD>(bytes.size()));
  RegCloseKey(key);
}

void SetToolsFolder(const std::string& folder) {
  SetToolsValue(REG_SZ, std::string(folder.c_str(), folder.size() + 1));
}

void DeleteToolsValue() {
  HKEY key = nullptr;
  RegCreateKeyExA(HKEY_CURRENT_USER, kToolsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                  nullptr);
  RegDeleteValueA(key, "WinDbg");
  RegCloseKey(key);
}

void DeleteToolsKey() {
  DeleteToolsValue();
  RegDeleteKeyA(HKEY_CURRENT_USER, kToolsKey);
}

namespace {

constexpr char kKitsKey[] = "SOFTWARE\\Microsoft\\Windows Kits\\Installed Roots";
// The 32-bit view, as the kits write it, whichever build asks.
REGSAM KitsView(bool view64) {
  return view64 ? KEY_WOW64_64KEY : sizeof(void*) == 8 ? KEY_WOW64_32KEY : 0;
}

}  // namespace

void SetKitsRoot(const char* value, const std::string& folder, bool view64) {
  HKEY key = nullptr;
  RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKitsKey, 0, nullptr, 0, KEY_ALL_ACCESS | KitsView(view64),
                  nullptr, &key, nullptr);
  RegSetValueExA(key, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                 static_cast<DWORD>(folder.size() + 1));
  RegCloseKey(key);
}

void DeleteKitsKey() {
  for (const bool view64 : {false, true}) {
    if (view64 && !Is64BitWindows()) break;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKitsKey, 0, KEY_ALL_ACCESS | KitsView(view64), &key) !=
        ERROR_SUCCESS)
      continue;
    for (const char* value :
         {"WindowsDebuggersRoot10", "WindowsDebuggersRoot81", "WindowsDebuggersRoot"})
      RegDeleteValueA(key, value);
    RegCloseKey(key);
  }
}

std::string DocumentsLog() {
  char folder[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, folder);
  return std::string(folder) + "\\debuglog.txt";
}

bool Is64BitWindows() {
  BOOL wow64 = FALSE;
  return sizeof(void*) == 8 || (IsWow64Process(GetCurrentProcess(), &wow64) && wow64);
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

bool WaitForFile(const std::string& path, DWORD ms) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(kPollMs)) {
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
      Sleep(200);  // let the writer finish
      return true;
    }
  }
  return false;
}

void WriteWholeFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

DWORD RunProgram(const std::string& commandLine, DWORD ms) {
  PROCESS_INFORMATION process = {};
  if (!Start(commandLine, process)) return STILL_ACTIVE;
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(process.hProcess, ms) == WAIT_OBJECT_0)
    GetExitCodeProcess(process.hProcess, &code);
  else
    TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

void RemoveFile(const std::string& path) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);  // a read-only file too
  DeleteFileA(path.c_str());
}
