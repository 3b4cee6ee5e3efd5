#include <vector>

#include "dialog.h"

// The buffer is released on every path; the control cuts a longer text.
std::string ReadField(HWND window, int id, std::size_t capacity) {
  std::vector<char> buffer(capacity, '\0');
  GetDlgItemTextA(window, id, buffer.data(), static_cast<int>(capacity));
  return std::string(buffer.data());
}
