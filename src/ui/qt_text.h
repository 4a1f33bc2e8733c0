// Moving text between the core (std::string, 8-bit) and Qt (QString). Paths and typed
// texts travel as UTF-8; text read from a file that is not valid UTF-8 (an 8-bit
// weather or log file) is taken as Latin-1 so that no byte is lost on the way in.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace kestrum::ui {

// True when bytes form valid UTF-8 (plain ASCII included).
bool IsValidUtf8(std::string_view bytes);

// UTF-8 when valid, Latin-1 otherwise.
QString ToQ(std::string_view bytes);

// UTF-8.
std::string ToStd(const QString& text);

}  // namespace kestrum::ui
