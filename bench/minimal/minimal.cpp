// The yardstick: the least dialog program, one button, built like Kestrel.
// Built with KESTREL_BENCH_REGISTRY_READ it also reads, at start, the one
// registry value Kestrel reads: this design's own floor.
#include <windows.h>

static INT_PTR CALLBACK MinimalDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
#ifdef KESTREL_BENCH_REGISTRY_READ
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\DebuggingTools", 0, KEY_READ,
                      &key) == ERROR_SUCCESS) {
      char folder[140] = {};
      DWORD size = sizeof folder;
      RegQueryValueExA(key, "WinDbg", nullptr, nullptr, reinterpret_cast<BYTE*>(folder), &size);
      RegCloseKey(key);
    }
#endif
    return TRUE;
  }
  if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
    EndDialog(window, IDCANCEL);
    return TRUE;
  }
  return FALSE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  DialogBoxParamA(instance, MAKEINTRESOURCEA(101), nullptr, MinimalDialogProc, 0);
  return 0;
}
