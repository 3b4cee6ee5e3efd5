// windows.h must come before the other Windows headers.
#include <windows.h>

#include <shellapi.h>

#include "dialog.h"
#include "late_bound.h"

// Hands the URL to the shell's default action, normally the default browser.
// Nothing is reported when that fails.
void OpenWebPage(HWND window, const char* url) {
  const auto shellExecute = LateBound<decltype(&ShellExecuteA)>("shell32.dll", "ShellExecuteA");
  if (shellExecute) shellExecute(window, nullptr, url, nullptr, "C:\\", SW_SHOWDEFAULT);
}
