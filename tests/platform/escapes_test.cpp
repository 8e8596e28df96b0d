#include "platform/escapes.h"

#include <gtest/gtest.h>

#include <string>

namespace fof1plot {
namespace {

// Hostile texts as a station's files or a copied directory's name bring them, through
// each format's escape.
TEST(EscapesTest, EveryFormatGetsValidTextWhateverTheBytes) {
  const struct {
    const char* nome;
    std::string testo;
    std::string xml, csv, etichetta, riga;
  } kCasi[] = {
      {"plain", "Rome", "Rome", "Rome", "Rome", "Rome"},
      {"markup", "<b>a&b</b> \"q\" 'x'", "&lt;b&gt;a&amp;b&lt;/b&gt; &quot;q&quot; &#39;x&#39;",
       "\"<b>a&b</b> \"\"q\"\" 'x'\"", "<b>a&b</b> \\\"q\\\" 'x'", "<b>a&b</b> \"q\" 'x'"},
      {"a lone 0xC2 at the end", " 4.\xC2", " 4.\xEF\xBF\xBD", " 4.\xEF\xBF\xBD", " 4.\xEF\xBF\xBD",
       " 4.\xC2"},
      {"Latin-1", "S\xE3o Paulo", "S\xEF\xBF\xBDo Paulo", "S\xEF\xBF\xBDo Paulo",
       "S\xEF\xBF\xBDo Paulo", "S\xE3o Paulo"},
      {"UTF-8 kept", "S\xC3\xA3o", "S\xC3\xA3o", "S\xC3\xA3o", "S\xC3\xA3o", "S\xC3\xA3o"},
      {"a control character",
       "a\x01"
       "b",
       "a\xEF\xBF\xBD"
       "b",
       "a\xEF\xBF\xBD"
       "b",
       "a\x01"
       "b",
       "a\\x01b"},
      {"a line end", "a\nb", "a\nb", "\"a\nb\"", "a\\nb", "a\\nb"},
      {"a formula", "=cmd|' /C calc'!A0", "=cmd|&#39; /C calc&#39;!A0", "'=cmd|' /C calc'!A0",
       "=cmd|' /C calc'!A0", "=cmd|' /C calc'!A0"},
      {"a HYPERLINK", "=HYPERLINK(\"x\",\"y\")", "=HYPERLINK(&quot;x&quot;,&quot;y&quot;)",
       "\"'=HYPERLINK(\"\"x\"\",\"\"y\"\")\"", "=HYPERLINK(\\\"x\\\",\\\"y\\\")",
       "=HYPERLINK(\"x\",\"y\")"},
      {"@ + -", "@SUM(A1)", "@SUM(A1)", "'@SUM(A1)", "@SUM(A1)", "@SUM(A1)"},
      {"a backslash", "a\\b", "a\\b", "a\\b", "a\\\\b", "a\\b"},
      {"an overlong encoding", "\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD", "\xEF\xBF\xBD\xEF\xBF\xBD",
       "\xEF\xBF\xBD\xEF\xBF\xBD", "\xC0\xAF"},
      {"a surrogate", "\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD",
       "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD",
       "\xED\xA0\x80"},
  };
  for (const auto& caso : kCasi) {
    SCOPED_TRACE(caso.nome);
    EXPECT_EQ(EscapeXml(caso.testo), caso.xml);
    EXPECT_EQ(CsvField(caso.testo), caso.csv);
    EXPECT_EQ(MetricLabel(caso.testo), caso.etichetta);
    EXPECT_EQ(LogLine(caso.testo), caso.riga);
    EXPECT_EQ(ValidUtf8(caso.xml), caso.xml) << "the XML is valid UTF-8";
  }
  EXPECT_EQ(CsvField("+1"), "'+1");
  EXPECT_EQ(CsvField("-1.5"), "'-1.5");
  EXPECT_EQ(CsvField("4.5"), "4.5");
  EXPECT_EQ(CsvField(std::string("a\0b", 3)),
            "a\xEF\xBF\xBD"
            "b");
}

// A state field is one word whatever the text, and reads back as the same bytes; what
// StateField never writes is no field.
TEST(EscapesTest, StateFieldsAreOneWordAndReadBackExactly) {
  std::string ogni_byte;
  for (int c = 0; c < 256; ++c) ogni_byte += static_cast<char>(c);
  for (const std::string& testo :
       {std::string(), std::string(" 4.5"), std::string("N/A "), std::string("100%"), ogni_byte}) {
    const std::string campo = StateField(testo);
    EXPECT_EQ(campo.find_first_of(" \t\r\n"), std::string::npos) << campo;
    EXPECT_EQ(FromStateField(campo), testo) << campo;
  }
  EXPECT_EQ(StateField(" 4.5"), "%204.5");
  for (const char* cattivo : {"%", "%2", "%2G", "%41", "a b", "%e9"}) {
    EXPECT_EQ(FromStateField(cattivo), std::nullopt) << cattivo;
  }
}

}  // namespace
}  // namespace fof1plot
