#include "format/text_sink.h"

#include <algorithm>
#include <cstring>

namespace kestrum {

void TextSink::Text(std::string_view s) {
  std::memcpy(Room(s.size()), s.data(), s.size());
  size_ += s.size();
}

void TextSink::Reserve(size_t capacity) {
  if (capacity <= capacity_) return;
  const size_t grown = std::max(capacity, capacity_ * 2);
  // Default-initialised: the bytes beyond the text are never read.
  auto data = std::make_unique_for_overwrite<char[]>(grown);
  if (size_ > 0) std::memcpy(data.get(), data_.get(), size_);
  data_ = std::move(data);
  capacity_ = grown;
}

void TextSink::AppendHuge(double v, int width, int decimals) {
  std::string text;
  AppendFixed(text, v, width, decimals);
  Text(text);
}

}  // namespace kestrum
