#include "text.h"

Text::Text(std::size_t capacity)
    : data_(new char[capacity ? capacity : 1]), capacity_(capacity ? capacity : 1) {
  for (std::size_t i = 0; i < capacity_; ++i) data_[i] = '\0';
}

std::size_t Text::size() const {
  std::size_t length = 0;
  while (length < capacity_ && data_[length]) ++length;
  return length;
}

Text& Text::Append(const char* text, std::size_t most) {
  std::size_t end = size();
  for (std::size_t i = 0; i < most && text[i] && end < capacity_ - 1; ++i) data_[end++] = text[i];
  data_[end] = '\0';
  return *this;
}

Text& Text::AppendNumber(unsigned long number) {
  char digits[24];
  std::size_t count = 0;
  do {
    digits[count++] = static_cast<char>('0' + number % 10);
    number /= 10;
  } while (number);
  char text[24];
  for (std::size_t i = 0; i < count; ++i) text[i] = digits[count - 1 - i];
  text[count] = '\0';
  return Append(text);
}

bool SameText(const char* a, const char* b) {
  while (*a && *a == *b) ++a, ++b;
  return *a == *b;
}

bool SameTextIgnoringCase(const char* a, const char* b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  while (*a && lower(*a) == lower(*b)) ++a, ++b;
  return lower(*a) == lower(*b);
}
