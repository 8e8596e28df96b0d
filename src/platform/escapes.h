#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace fof1plot {

// Every text from a station's files or a copied directory's name reaches an output file
// through the escape of that file's format, here; JSON's is nlohmann-json's own dump,
// which escapes control characters, with bytes that are not UTF-8 replaced.

// The text with every byte sequence that is not UTF-8 replaced by U+FFFD, so that a
// station's file in another encoding never makes an output file invalid.
std::string ValidUtf8(std::string_view text);

// Text made safe for XML and HTML: valid UTF-8, & < > " and ' written as entities, and
// the control characters XML forbids (all but tab, line feed and carriage return)
// replaced by U+FFFD.
std::string EscapeXml(std::string_view text);

// A CSV field: valid UTF-8, control characters but tab replaced by U+FFFD, a leading
// = + - or @ preceded by ' so that no spreadsheet takes it for a formula, and quoted as
// RFC 4180 asks where it holds a comma, a quote or a line end.
std::string CsvField(std::string_view text);

// A Prometheus label value: valid UTF-8 with its backslashes, quotes and line ends
// escaped.
std::string MetricLabel(std::string_view text);

// A line for stderr and the journal: every control character written as \n, \r, \t
// or \xHH, so that a name with a line end never forges a second line.
std::string LogLine(std::string_view text);

// A field of the program's own state file: every byte outside printable ASCII, and the
// blank and %, written %HH, so that any text is one word of a line.
std::string StateField(std::string_view text);
// The text a state field stands for; none when it is not one StateField writes.
std::optional<std::string> FromStateField(std::string_view field);

}  // namespace fof1plot
