// A text of fixed capacity in a heap block of its own, released with it.
// Every text of the dialog has such a capacity: appending keeps at most
// capacity-1 characters, as a control's read does.
#pragma once
#include <cstddef>
#include <memory>

class Text {
 public:
  // An empty text of `capacity` bytes, zero-filled (at least one byte).
  explicit Text(std::size_t capacity);

  // Appends at most `most` characters of `text` (to its zero), cut at capacity-1.
  Text& Append(const char* text, std::size_t most = static_cast<std::size_t>(-1));
  Text& operator+=(const char* text) { return Append(text); }
  Text& operator+=(const Text& text) { return Append(text.c_str()); }
  void Clear() { data_[0] = '\0'; }
  // Appends `number` in decimal.
  Text& AppendNumber(unsigned long number);

  const char* c_str() const { return data_.get(); }
  // The whole block, for a read that fills it (a read keeps capacity-1 and its zero).
  char* data() { return data_.get(); }
  std::size_t capacity() const { return capacity_; }
  std::size_t size() const;
  bool empty() const { return data_[0] == '\0'; }

 private:
  std::unique_ptr<char[]> data_;
  std::size_t capacity_;
};

// Whether two zero-terminated texts are the same, letter case included.
bool SameText(const char* a, const char* b);
// The same with A to Z and a to z taken as one, as Windows takes file names.
bool SameTextIgnoringCase(const char* a, const char* b);
