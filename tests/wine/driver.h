// The test driver's one helper layer: start Kestrel, find its windows,
// click, read and wait. Every wait is bounded.
#pragma once
#include <windows.h>

#include <string>

#include "../../dialog/dialog.h"

inline constexpr DWORD kWindowWaitMs = 30000;  // the first GUI start in a prefix is slow

// A running kestrel.exe and its dialog; ended when it goes out of scope.
class Kestrel {
 public:
  explicit Kestrel(const std::string& arguments = "");
  ~Kestrel();
  HWND dialog() const { return dialog_; }
  // The exit code, or STILL_ACTIVE if it did not end within the wait.
  DWORD WaitForExit(DWORD ms = 10000);

 private:
  PROCESS_INFORMATION process_ = {};
  HWND dialog_ = nullptr;
};

// Paths of the build, as Windows paths (the build folder is on drive Z:).
std::string BuildPath(const std::string& relative);
std::string KestrelExe();          // the build's own, the one the tests start
std::string ShippedExe();          // the 32-bit kestrel.exe, whose file the resource tests read
std::string StandinToolsFolder();  // holds the stand-in cdb.exe, ends in '\'

// A top-level window of class `windowClass` owned by `owner`, once it appears.
HWND WaitForOwned(HWND owner, const char* windowClass = "#32770", DWORD ms = kWindowWaitMs);
// True once `owner` has no owned dialog left, within the wait.
bool NoOwnedWindow(HWND owner, DWORD ms);
// True once `window` is gone, within the wait: a box that was answered,
// whatever box may follow it.
bool WaitForClosed(HWND window, DWORD ms = 5000);
std::string WindowText(HWND window);
std::string ItemText(HWND dialog, int id);
void SetItemText(HWND dialog, int id, const std::string& text);
void Click(HWND dialog, int id);
LONG_PTR Style(HWND dialog, int id);
bool Enabled(HWND dialog, int id);
bool ReadOnly(HWND dialog, int id);

// A message box: its text, and dismissing it with OK, or with another button.
std::string MessageText(HWND box);
void PressOk(HWND box);
void PressButton(HWND box, int id);

// The Open dialog: type a file name and confirm, or cancel.
void OpenDialogChoose(HWND open, const std::string& path);
void OpenDialogCancel(HWND open);
std::string OpenDialogFilters(HWND open);  // the file type list, '|' between items
// Presses a Browse button and chooses `path`; the Open dialog's filter list,
// or "(no Open dialog)" when none appeared or it did not close.
std::string ChooseWith(HWND dialog, int button, const std::string& path);

// The bytes of one of the shipped exe's resources (U.S. English); empty if absent.
std::string KestrelResource(int type, int id);

// The tools' installation record under HKCU.
void SetToolsFolder(const std::string& folder);
void SetToolsValue(DWORD type, const std::string& bytes);
void DeleteToolsValue();
void DeleteToolsKey();
// The Windows Kits' record under HKLM: the 32-bit view, as the kits write
// it, or the 64-bit one.
void SetKitsRoot(const char* value, const std::string& folder, bool view64 = false);
void DeleteKitsKey();  // in both views
// debuglog.txt in this user's Documents folder.
std::string DocumentsLog();
// Windows as the build under test sees it: 64-bit, or 32-bit.
bool Is64BitWindows();

// Runs a program to its end: its exit code, or STILL_ACTIVE if it had to be stopped.
DWORD RunProgram(const std::string& commandLine, DWORD ms = 30000);

// Files.
std::string ReadWholeFile(const std::string& path);
bool WaitForFile(const std::string& path, DWORD ms = 20000);
void WriteWholeFile(const std::string& path, const std::string& text);
void RemoveFile(const std::string& path);
