#include "dialog.h"

// The control cuts a longer text.
Text ReadField(HWND window, int id, std::size_t capacity) {
  Text text(capacity);
  GetDlgItemTextA(window, id, text.data(), static_cast<int>(capacity));
  return text;
}
