// windows.h must come before the other Windows headers.
#include <windows.h>

#include <shellapi.h>

#include "dialog.h"

// Hands the URL to the shell's default action, normally the default browser.
// Nothing is reported when that fails.
void OpenWebPage(HWND window, const char* url) {
  ShellExecuteA(window, nullptr, url, nullptr, "C:\\", SW_SHOWDEFAULT);
}
