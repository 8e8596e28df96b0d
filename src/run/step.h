#pragma once

#include "platform/failure.h"

namespace fof1plot {

// The run's error policy for one step: runs it and drops its failure, so that the
// caller goes on with its next step. True when the step succeeded.
template <typename Passo>
bool esegui_passo(Passo&& passo) {
  try {
    passo();
    return true;
  } catch (const Failure&) {
    return false;
  }
}

}  // namespace fof1plot
