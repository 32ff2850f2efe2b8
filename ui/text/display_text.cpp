// What of the chart's text reaches a widget: decoded, cut, one line a cell.
#include "ui/text/display_text.h"

#include <QByteArrayView>
#include <QStringDecoder>

#include "chart/text/utf8.h"
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

// Lines are decoded a slice at a time, so that a line of megabytes costs
// only the slices up to the limit.
constexpr size_t kSliceBytes = 8 * 1024;

// line then ending, decoded as one text without the bidirectional controls:
// they are left out as the text is decoded, so that however many of them a
// line holds, what follows them still fills the window up to the limit. Cut
// there with "…" whenever anything was left unshown.
QString ShownLine(std::string_view line, std::string_view ending, bool utf8) {
    // Not stateless: a character may be split across two slices.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    QString text;
    for (std::string_view part : {line, ending}) {
        for (size_t at = 0; at < part.size() && text.size() <= kDisplayTextLimit; at += kSliceBytes) {
            const std::string_view slice = part.substr(at, kSliceBytes);
            const QString decoded = utf8 ? decoder.decode(QByteArrayView(slice.data(), static_cast<qsizetype>(slice.size())))
                                         : DecodeWindows1252(slice);
            for (QChar c : decoded)
                if (!IsBidiControl(c.unicode()))
                    text.append(c);
        }
    }
    if (text.size() > kDisplayTextLimit) {
        qsizetype keep = kDisplayTextLimit;
        if (text[keep - 1].isHighSurrogate())
            --keep;
        text.truncate(keep);
        text.append(kEllipsis);
    }
    return text;
}

}  // namespace

QString DisplayLines(std::string_view bytes, std::string_view ending) {
    QString shown;
    size_t start = 0;
    for (;;) {
        const size_t lf = bytes.find('\n', start);
        std::string_view line = bytes.substr(start, lf == std::string_view::npos ? std::string_view::npos : lf - start);
        if (lf != std::string_view::npos && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const bool last = lf == std::string_view::npos;
        const std::string_view lineEnding = last ? ending : std::string_view();
        // Two valid UTF-8 texts make a valid one, and an invalid part spoils the whole.
        const bool utf8 = chart::IsValidUtf8(line) && chart::IsValidUtf8(lineEnding);
        shown += ShownLine(line, lineEnding, utf8);
        if (last)
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
