// A growing text buffer that the hourly files' rows are written into field by field, with
// no allocation or copy per field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "format/fixed_text.h"

namespace kestrum {

// Aligned to a cache line of its own: two texts written on two threads at once must not
// share one.
class alignas(64) TextSink {
 public:
  TextSink() = default;
  explicit TextSink(size_t capacity) { Reserve(capacity); }
  TextSink(const TextSink&) = delete;
  TextSink& operator=(const TextSink&) = delete;

  // FormatFixed(v, width, decimals); throws RunError for infinities and NaN.
  [[gnu::always_inline]] void Fixed(double v, int width, int decimals) {
    char* end = PutFixed(Room(FieldRoom(width)), v, width, decimals);
    if (end == nullptr) return AppendHuge(v, width, decimals);
    size_ = static_cast<size_t>(end - data_.get());
  }

  // FormatInt(v, width).
  [[gnu::always_inline]] void Int(int64_t v, int width) {
    size_ = static_cast<size_t>(PutInt(Room(FieldRoom(width)), v, width) - data_.get());
  }

  void Char(char c) {
    *Room(1) = c;
    ++size_;
  }

  void Text(std::string_view s);

  std::string_view view() const { return {data_.get(), size_}; }
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  void Clear() { size_ = 0; }
  // Keeps only the first `size` characters.
  void Truncate(size_t size) {
    if (size < size_) size_ = size;
  }
  void Reserve(size_t capacity);

 private:
  static size_t FieldRoom(int width) {
    return static_cast<size_t>(width > 0 ? width : 0) + kFieldRoom;
  }
  // At least n writable bytes at the end of the text.
  char* Room(size_t n) {
    if (capacity_ - size_ < n) Reserve(size_ + n);
    return data_.get() + size_;
  }
  void AppendHuge(double v, int width, int decimals);

  std::unique_ptr<char[]> data_;
  size_t size_ = 0;
  size_t capacity_ = 0;
};

}  // namespace kestrum
