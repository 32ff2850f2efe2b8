// The chart's 8-bit text decoded: UTF-8 where valid, Windows-1252 otherwise.
#include "ui/text/byte_text.h"

#include <QStringDecoder>

#include "chart/text/windows_1252.h"

namespace vantrel::ui {

QString DecodeWindows1252(std::string_view bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (char c : bytes)
        text.append(QChar(chart::Windows1252CodePoint(static_cast<unsigned char>(c))));
    return text;
}

QString DecodeChartText(std::string_view bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!utf8.hasError())
        return text;
    return DecodeWindows1252(bytes);
}

std::string EncodeUtf8(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

QString ToDisplayLines(const QString& text) {
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return lines;
}

QString ToCrLfLines(const QString& text) {
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(QChar('\n'), QStringLiteral("\r\n"));
    return lines;
}

}  // namespace vantrel::ui
