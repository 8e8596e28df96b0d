#pragma once

namespace fof1plot {

// Where a sample of minute 0 to 59 lands within its hour, in tenths of an hour: the
// minute divided by 6, halves rounded down, so minutes 58 and 59 reach the next hour.
int passo_minuti(int minuto);

}  // namespace fof1plot
