// Reading numbers from text: digits-only text reads as its arithmetic value, a field of
// digits and blanks decodes to its tenths, nothing is NaN, and the 16-bit conversion
// either fails or stays in range.
#include <cmath>
#include <string>

#include "fuzz_support.h"
#include "platform/failure.h"
#include "platform/numbers.h"
#include "platform/value_field.h"

namespace {

bool solo_cifre(std::string_view testo) {
  return !testo.empty() && testo.find_first_not_of("0123456789") == std::string_view::npos;
}

double valore_di(std::string_view cifre) {
  double valore = 0;
  for (char c : cifre) valore = valore * 10 + (c - '0');
  return valore;
}

void controlla_val(std::string_view testo) {
  double valore = 0;
  try {
    valore = fof1plot::Val(testo);
  } catch (const fof1plot::Failure&) {
    return;
  }
  if (std::isnan(valore) || std::isinf(valore)) fof1plot::fuzz::viola("Val gave NaN or infinity");
  if (solo_cifre(testo) && testo.size() <= 15 && valore != valore_di(testo)) {
    fof1plot::fuzz::viola("digits did not read as their value");
  }
  try {
    const int intero = fof1plot::CInt(valore);
    if (std::abs(intero - valore) > 0.5) fof1plot::fuzz::viola("CInt is not the nearest integer");
  } catch (const fof1plot::Failure&) {
    if (std::abs(valore) < 32767) fof1plot::fuzz::viola("CInt failed inside the 16-bit range");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view testo(reinterpret_cast<const char*>(data), size);
  controlla_val(testo);
  // A field dd.d of digits, or with a blank for a missing tens digit.
  const std::string_view campo = testo.substr(0, 4);
  const double decimi = fof1plot::valore_in_decimi(campo);
  const auto cifra = [&](std::size_t i) { return campo[i] >= '0' && campo[i] <= '9'; };
  if (campo.size() == 4 && (cifra(0) || campo[0] == ' ') && cifra(1) && cifra(3)) {
    const std::string cifre =
        std::string(campo[0] == ' ' ? "" : campo.substr(0, 1)) + campo[1] + campo[3];
    if (decimi != valore_di(cifre))
      fof1plot::fuzz::viola("a dd.d field did not decode to its tenths");
  }
  return 0;
}
