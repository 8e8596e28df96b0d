#include "platform/escapes.h"

namespace fof1plot {
namespace {

// The length of the UTF-8 sequence at the start of text, or 0 when none starts there.
std::size_t sequenza_utf8(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char primo = byte(0);
  if (primo < 0x80) return 1;
  std::size_t lunghezza = 0;
  unsigned char minimo = 0x80, massimo = 0xBF;
  if (primo >= 0xC2 && primo <= 0xDF) {
    lunghezza = 2;
  } else if (primo >= 0xE0 && primo <= 0xEF) {
    lunghezza = 3;
    if (primo == 0xE0) minimo = 0xA0;
    if (primo == 0xED) massimo = 0x9F;
  } else if (primo >= 0xF0 && primo <= 0xF4) {
    lunghezza = 4;
    if (primo == 0xF0) minimo = 0x90;
    if (primo == 0xF4) massimo = 0x8F;
  }
  if (lunghezza == 0 || text.size() < lunghezza) return 0;
  if (byte(1) < minimo || byte(1) > massimo) return 0;
  for (std::size_t i = 2; i < lunghezza; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return lunghezza;
}

}  // namespace

std::string ValidUtf8(std::string_view text) {
  std::string valido;
  valido.reserve(text.size());
  while (!text.empty()) {
    const std::size_t n = sequenza_utf8(text);
    if (n == 0) {
      valido += "\xEF\xBF\xBD";
      text.remove_prefix(1);
    } else {
      valido += text.substr(0, n);
      text.remove_prefix(n);
    }
  }
  return valido;
}

namespace {

// Whether c is a control character that XML forbids, or a CSV field should not carry.
bool controllo(char c, bool tab_e_a_capo) {
  const auto b = static_cast<unsigned char>(c);
  if (tab_e_a_capo && (c == '\t' || c == '\n' || c == '\r')) return false;
  return b < 0x20 || b == 0x7F;
}

constexpr std::string_view kSostituto = "\xEF\xBF\xBD";

}  // namespace

std::string EscapeXml(std::string_view text) {
  std::string sicuro;
  for (const char c : ValidUtf8(text)) {
    switch (c) {
      case '&':
        sicuro += "&amp;";
        break;
      case '<':
        sicuro += "&lt;";
        break;
      case '>':
        sicuro += "&gt;";
        break;
      case '"':
        sicuro += "&quot;";
        break;
      case '\'':
        sicuro += "&#39;";
        break;
      default:
        if (controllo(c, true)) {
          sicuro += kSostituto;
        } else {
          sicuro += c;
        }
    }
  }
  return sicuro;
}

std::string CsvField(std::string_view text) {
  std::string campo;
  for (const char c : ValidUtf8(text)) {
    if (controllo(c, true) || c == '\t') {
      campo += kSostituto;
    } else {
      campo += c;
    }
  }
  if (!campo.empty() && std::string_view("=+-@").find(campo[0]) != std::string_view::npos) {
    campo.insert(0, 1, '\'');
  }
  if (campo.find_first_of(",\"\r\n") == std::string::npos) return campo;
  std::string quotato = "\"";
  for (const char c : campo) {
    if (c == '"') quotato += '"';
    quotato += c;
  }
  return quotato + "\"";
}

std::string LogLine(std::string_view text) {
  static constexpr char kCifre[] = "0123456789abcdef";
  std::string riga;
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '\n') {
      riga += "\\n";
    } else if (c == '\r') {
      riga += "\\r";
    } else if (c == '\t') {
      riga += "\\t";
    } else if (b < 0x20 || b == 0x7F) {
      riga += {'\\', 'x', kCifre[b >> 4], kCifre[b & 15]};
    } else {
      riga += c;
    }
  }
  return riga;
}

std::string MetricLabel(std::string_view text) {
  std::string etichetta;
  for (const char c : ValidUtf8(text)) {
    if (c == '\n') {
      etichetta += "\\n";
    } else {
      if (c == '\\' || c == '"') etichetta += '\\';
      etichetta += c;
    }
  }
  return etichetta;
}

namespace {

bool parola_semplice(unsigned char c) { return c > ' ' && c < 0x7f && c != '%'; }

int cifra_esadecimale(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string StateField(std::string_view text) {
  static constexpr char kCifre[] = "0123456789ABCDEF";
  std::string field;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (parola_semplice(byte)) {
      field += c;
    } else {
      field += {'%', kCifre[byte >> 4], kCifre[byte & 15]};
    }
  }
  return field;
}

std::optional<std::string> FromStateField(std::string_view field) {
  std::string text;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (parola_semplice(static_cast<unsigned char>(field[i]))) {
      text += field[i];
      continue;
    }
    if (field[i] != '%' || i + 2 >= field.size()) return std::nullopt;
    const int alta = cifra_esadecimale(field[i + 1]);
    const int bassa = cifra_esadecimale(field[i + 2]);
    const auto byte = static_cast<unsigned char>(alta * 16 + bassa);
    // Only what StateField writes: a byte it would have left as it is is no field.
    if (alta < 0 || bassa < 0 || parola_semplice(byte)) return std::nullopt;
    text += static_cast<char>(byte);
    i += 2;
  }
  return text;
}

}  // namespace fof1plot
