#pragma once

#include <string>
#include <string_view>

namespace fof1plot {

// Up to length characters from position start, counted from 1; fewer, or none, where
// the text is shorter.
inline std::string Mid(std::string_view text, std::size_t start, std::size_t length) {
  if (start < 1 || start > text.size()) return {};
  return std::string(text.substr(start - 1, length));
}

// The text without leading and trailing spaces; tabs and other characters stay.
inline std::string Trim(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

}  // namespace fof1plot
