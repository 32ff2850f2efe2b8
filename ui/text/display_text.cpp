#include "ui/text/display_text.h"

#include <QByteArrayView>
#include <QStringDecoder>

#include "ui/text/byte_text.h"

namespace vantrel::ui {
namespace {

constexpr QChar kEllipsis(0x2026);

bool IsBidiControl(char16_t c) {
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

bool IsLineBreak(char16_t c) {
    return c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == 0x0085 || c == 0x2028 ||
           c == 0x2029;
}

// At most the limit's worth of one line decoded (and one character more, so
// that a cut shows).
QString DecodeLineStart(std::string_view line, bool utf8) {
    if (!utf8)
        return DecodeWindows1252(line.substr(0, static_cast<size_t>(kDisplayTextLimit) + 1));
    // A character takes at most four bytes; stop at a character's first byte.
    size_t take = std::min(line.size(), static_cast<size_t>(kDisplayTextLimit + 1) * 4);
    while (take < line.size() && (static_cast<unsigned char>(line[take]) & 0xC0) == 0x80)
        --take;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(QByteArrayView(line.data(), static_cast<qsizetype>(take)));
}

QString ShownLine(std::string_view line, bool utf8) {
    QString text = DecodeLineStart(line, utf8);
    text.removeIf([](QChar c) { return IsBidiControl(c.unicode()); });
    if (text.size() > kDisplayTextLimit) {
        qsizetype keep = kDisplayTextLimit;
        if (text[keep - 1].isHighSurrogate())
            --keep;
        text.truncate(keep);
        text.append(kEllipsis);
    }
    return text;
}

bool IsUtf8(std::string_view bytes) {
    return QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())).isValidUtf8();
}

}  // namespace

QString DisplayLines(std::string_view bytes, std::string_view ending) {
    // Two valid UTF-8 texts make a valid one, and an invalid part spoils the whole.
    const bool utf8 = IsUtf8(bytes) && IsUtf8(ending);
    QString shown;
    size_t start = 0;
    for (;;) {
        const size_t lf = bytes.find('\n', start);
        std::string_view line = bytes.substr(start, lf == std::string_view::npos ? std::string_view::npos : lf - start);
        if (lf != std::string_view::npos && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (lf == std::string_view::npos && !ending.empty()) {
            // Past this length the line is cut before its ending would show.
            if (line.size() < static_cast<size_t>(kDisplayTextLimit + 1) * 4)
                return shown + ShownLine(std::string(line) + std::string(ending), utf8);
            return shown + ShownLine(line, utf8);
        }
        shown += ShownLine(line, utf8);
        if (lf == std::string_view::npos)
            return shown;
        shown += QChar(u'\n');
        start = lf + 1;
    }
}

QString DisplayCell(std::string_view bytes) {
    QString cell = DisplayLines(bytes);
    for (QChar& c : cell)
        if (IsLineBreak(c.unicode()))
            c = QChar(u' ');
    return cell;
}

}  // namespace vantrel::ui
