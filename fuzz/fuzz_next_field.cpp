// The field scanner over any line, both ways of treating a closing quote: the copying and
// the viewing scan agree, every call moves on, and an unquoted field holds no delimiter.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "run/text_fields.h"

using namespace kestrum;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  for (AfterQuote mode : {AfterQuote::Keep, AfterQuote::Consume}) {
    size_t posCopy = static_cast<size_t>(size > 0 ? data[0] % 3 : 0);  // 0 counts as 1
    size_t posView = posCopy;
    std::string quoted;
    std::string field;
    for (size_t calls = 0; calls <= size + 2; ++calls) {
      const size_t before = posCopy;
      NextField(line, posCopy, field, mode);
      const std::string_view view = NextFieldView(line, posView, quoted, mode);
      if (posCopy != posView || field != view) fuzz::Broken("NextField and NextFieldView differ");
      if (field.size() > size) fuzz::Broken("a field longer than its line");
      if (before > size) {
        if (!field.empty() || posCopy != before) fuzz::Broken("a field past the end of the line");
        break;
      }
      if (posCopy <= before && before != 0) fuzz::Broken("the position did not move on");
      const size_t start = before == 0 ? 0 : before - 1;
      const size_t first = line.find_first_not_of(" \t", start);
      if (first != std::string_view::npos && line[first] != '"' &&
          field.find_first_of(",\t\f\r") != std::string::npos) {
        fuzz::Broken("an unquoted field holds a delimiter");
      }
    }
  }
  return 0;
}
