#pragma once

#include <string>
#include <string_view>

namespace fof1plot {

// The text with every byte sequence that is not UTF-8 replaced by U+FFFD, so that a
// station's file in another encoding never makes an output file invalid.
std::string ValidUtf8(std::string_view text);

// A Prometheus label value: valid UTF-8 with its backslashes, quotes and line ends
// escaped.
std::string MetricLabel(std::string_view text);

}  // namespace fof1plot
