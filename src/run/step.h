#pragma once

#include "platform/failure.h"

namespace fof1plot {

// The run's error policy for one step: runs it and hands its failure to `al_guasto`
// instead of letting it end the caller, which goes on with its next step. True when
// the step succeeded.
template <typename Passo, typename AlGuasto>
bool esegui_passo(Passo&& passo, AlGuasto&& al_guasto) {
  try {
    passo();
    return true;
  } catch (const Failure& guasto) {
    al_guasto(guasto);
    return false;
  }
}

// The same for a failure that belongs to the data and is no fault of the run: a sample
// still being written, a value too large for 16 bits. It is dropped.
template <typename Passo>
bool esegui_passo(Passo&& passo) {
  return esegui_passo(passo, [](const Failure&) {});
}

}  // namespace fof1plot
