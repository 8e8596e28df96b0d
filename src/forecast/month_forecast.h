#pragma once

#include <array>
#include <chrono>
#include <optional>

namespace fof1plot {

class Form1;

// A month's forecast by hour in tenths of MHz, as the figures draw it, read through the
// plot window's forecast procedure (once a run): none where the file cannot be opened
// (its figures report that), an empty hour where its field is.
std::array<std::optional<int>, 24> previsione_oraria(Form1& form, std::chrono::year_month mese);

}  // namespace fof1plot
