// windows.h must come before the other Windows headers.
#include <windows.h>

#include <commdlg.h>

#include "../command/capacities.h"
#include "../command/texts.h"
#include "dialog.h"
#include "late_bound.h"

// The record's full size, its three trailing fields included (152 in the
// x86-64 test build).
static_assert(sizeof(OPENFILENAMEA) == (sizeof(void*) == 4 ? 88 : 152),
              "the Open dialog's record with its trailing fields");

namespace {

// Shows the Open dialog with one filter; a chosen file goes into `field`.
// Chosen or cancelled, the string is recomposed and the press recorded.
void BrowseForFile(HWND window, const char* filter, int field, INT32 bit) {
  Text file(kOpenFileNameCapacity);
  OPENFILENAMEA record = {};
  record.lStructSize = sizeof record;
  record.hwndOwner = window;
  record.lpstrFilter = filter;
  record.nFilterIndex = 1;
  record.lpstrFile = file.data();
  record.nMaxFile = static_cast<DWORD>(file.capacity());
  record.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
  const auto getOpenFileName =
      LateBound<decltype(&GetOpenFileNameA)>("comdlg32.dll", "GetOpenFileNameA");
  if (getOpenFileName && getOpenFileName(&record)) SetDlgItemTextA(window, field, file.data());
  BuildCommandString(window);
  BrowseFlags |= bit;
}

}  // namespace

void BrowseForDump(HWND window) { BrowseForFile(window, kDumpFilter, IDC_DUMP_PATH, BROWSE_DUMP); }

void BrowseForDebugger(HWND window) {
  BrowseForFile(window, kDebuggerFilter, IDC_DEBUGGER_PATH, BROWSE_DEBUGGER);
}
