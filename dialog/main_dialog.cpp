#include "../command/contract.h"
#include "dialog.h"

INT32 BrowseFlags = 0;

// One switch on the message, one on the control id; each case is one action.
INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      DiscoverDebugger(window);
      return TRUE;
    case WM_COMMAND:
      // Any notification from a known control runs its action.
      switch (LOWORD(wParam)) {
        case IDOK:
          GenerateLog(window);
          return TRUE;
        case IDCANCEL:
          EndDialog(window, IDCANCEL);
          return TRUE;
        case IDC_BROWSE_DUMP:
          BrowseForDump(window);
          return TRUE;
        case IDC_ADVANCED:
          SwitchAdvancedMode(window);
          return TRUE;
        case IDC_BROWSE_DEBUGGER:
          BrowseForDebugger(window);
          return TRUE;
        case IDC_DOWNLOAD_TOOLS:
          OpenWebPage(window, kDownloadPageUrl);
          return TRUE;
        case IDC_VISIT_SITE:
          OpenWebPage(window, kPublisherUrl);
          return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}
