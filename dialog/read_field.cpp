#include "dialog.h"

// The control cuts a longer text.
Text ReadField(HWND window, int id, std::size_t capacity) {
  Text text(capacity);
  GetDlgItemTextA(window, id, text.data(), static_cast<int>(capacity));
  return text;
}

// The length Windows gives may be more than the text, never less.
Text ReadWholeField(HWND window, int id) {
  return ReadField(window, id,
                   static_cast<std::size_t>(GetWindowTextLengthA(GetDlgItem(window, id))) + 1);
}
