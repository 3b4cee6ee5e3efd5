// The adapter's output: what goes to the log also shows in the console
// window, as with cdb.
#pragma once
#include <windows.h>

#include <fstream>
#include <iostream>
#include <string>

class Output {
 public:
  // A new log (-logo), or appended to (-loga); in UTF-16 for -logou and
  // -logau, a new one starting with its byte order mark.
  void Open(const std::string& path, bool append, bool unicode) {
    log_.open(path, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
    unicode_ = unicode;
    if (unicode_ && log_.is_open() && log_.tellp() == 0) log_ << "\xFF\xFE";
  }
  void Close() { log_.close(); }
  Output& operator<<(const std::string& text) {
    std::cout << text;
    if (log_.is_open()) log_ << (unicode_ ? Utf16(text) : text);
    return *this;
  }

 private:
  // The ANSI text as little-endian UTF-16 bytes.
  static std::string Utf16(const std::string& text) {
    if (text.empty()) return text;
    const int size = static_cast<int>(text.size());
    std::wstring wide(
        static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0)),
        L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, &wide[0], static_cast<int>(wide.size()));
    std::string bytes;
    for (wchar_t c : wide) {
      bytes += static_cast<char>(c & 0xFF);
      bytes += static_cast<char>((c >> 8) & 0xFF);
    }
    return bytes;
  }

  std::ofstream log_;
  bool unicode_ = false;
};
