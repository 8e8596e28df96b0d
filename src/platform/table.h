#pragma once

#include <array>
#include <cstddef>

#include "platform/failure.h"

namespace fof1plot {

// A fixed table indexed from First to Last, as the window's tables are (1 to 6 for the
// day slots, 0 to 23 for the hours); an index outside them fails.
template <typename T, int First, int Last>
class Tabella {
 public:
  T& operator()(int index) { return entries_[offset(index)]; }
  const T& operator()(int index) const { return entries_[offset(index)]; }

 private:
  static std::size_t offset(int index) {
    if (index < First || index > Last) throw Failure("subscript out of range");
    return static_cast<std::size_t>(index - First);
  }
  std::array<T, Last - First + 1> entries_{};
};

}  // namespace fof1plot
