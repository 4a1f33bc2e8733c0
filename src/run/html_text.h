// Text set into an HTML page or an SVG picture of it.
#pragma once

#include <string>

namespace kestrum {

// text with &, <, >, " and ' written as character references, so that a file or site name
// shows as it is and never ends an element or an attribute.
inline std::string HtmlEscape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace kestrum
