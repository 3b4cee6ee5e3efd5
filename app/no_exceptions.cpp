// Kestrel is built without exceptions. The standard library's error paths
// (an impossible string length, memory exhausted, a failed bounds check)
// end the process here instead of linking in the unwinder and the report
// printer, which would triple the exe.
#include <cstdlib>
#include <new>

namespace std {
void __throw_length_error(const char*) { abort(); }
void __throw_logic_error(const char*) { abort(); }
void __throw_out_of_range_fmt(const char*, ...) { abort(); }
void __throw_bad_alloc() { abort(); }
void __throw_bad_array_new_length() { abort(); }
// A failed bounds check of the library's assertions: no report, just the end.
void __glibcxx_assert_fail(const char*, int, const char*, const char*) noexcept { abort(); }
}  // namespace std

void* operator new(std::size_t size) {
  void* block = std::malloc(size ? size : 1);
  if (!block) std::abort();
  return block;
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
