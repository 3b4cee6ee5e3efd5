// The adapter's output: what goes to the log also shows in the console
// window, as with cdb.
#pragma once
#include <fstream>
#include <iostream>
#include <string>

class Output {
 public:
  // A new log (-logo), or appended to (-loga).
  void Open(const std::string& path, bool append) {
    log_.open(path, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
  }
  void Close() { log_.close(); }
  Output& operator<<(const std::string& text) {
    std::cout << text;
    if (log_.is_open()) log_ << text;
    return *this;
  }

 private:
  std::ofstream log_;
};
