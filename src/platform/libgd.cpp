#include "platform/libgd.h"

#include <cstdarg>

namespace fof1plot {
namespace {

void ignore_message(int, const char*, va_list) {}

}  // namespace

void SilenceLibgd() { gdSetErrorMethod(ignore_message); }

}  // namespace fof1plot
