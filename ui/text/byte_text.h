#pragma once
// The chart files carry 8-bit text. The window shows it decoded as UTF-8 where
// the bytes are valid UTF-8, and as Windows-1252 otherwise.
#include <QString>
#include <string>
#include <string_view>

namespace vantrel::ui {

QString DecodeChartText(std::string_view bytes);
// Windows-1252 alone (Latin-1 with 0x80-0x9F remapped).
QString DecodeWindows1252(std::string_view bytes);
std::string EncodeUtf8(const QString& text);

// The chart core separates lines with CR LF; text widgets want LF.
QString ToDisplayLines(const QString& text);
QString ToCrLfLines(const QString& text);

}  // namespace vantrel::ui
