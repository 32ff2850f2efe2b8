// A picture as bare pixels behind a 16-byte header, written and read.
#include "ui/artwork/raw_picture.h"

#include <QtEndian>
#include <cstdint>
#include <cstring>

namespace vantrel::ui {
namespace {

constexpr char kMagic[4] = {'V', 'P', 'I', 'X'};
constexpr qint64 kHeaderSize = 16;
constexpr int kBytesPerPixel = 4;

bool IsThirtyTwoBit(QImage::Format format) {
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32_Premultiplied;
}

}  // namespace

QByteArray RawPictureBytes(const QImage& image) {
    if (!IsThirtyTwoBit(image.format())) return {};
    QByteArray bytes(kMagic, sizeof kMagic);
    for (quint32 value : {quint32(image.width()), quint32(image.height()), quint32(image.format())}) {
        const quint32 little = qToLittleEndian(value);
        bytes.append(reinterpret_cast<const char*>(&little), sizeof little);
    }
    for (int y = 0; y < image.height(); ++y)
        bytes.append(reinterpret_cast<const char*>(image.constScanLine(y)), image.width() * kBytesPerPixel);
    return bytes;
}

QImage RawPictureView(const uchar* bytes, qint64 size) {
    if (size < kHeaderSize || std::memcmp(bytes, kMagic, sizeof kMagic) != 0) return {};
    const quint32 width = qFromLittleEndian<quint32>(bytes + 4);
    const quint32 height = qFromLittleEndian<quint32>(bytes + 8);
    const auto format = QImage::Format(qFromLittleEndian<quint32>(bytes + 12));
    // Checked in 64 bits: a size that does not match is refused, never read past.
    if (!IsThirtyTwoBit(format) || width == 0 || height == 0 || width > 0x4000 || height > 0x4000 ||
        size - kHeaderSize != qint64(width) * height * kBytesPerPixel)
        return {};
    const uchar* pixels = bytes + kHeaderSize;
    const int bytesPerLine = int(width) * kBytesPerPixel;
    if (reinterpret_cast<std::uintptr_t>(pixels) % alignof(quint32) == 0)
        return QImage(pixels, int(width), int(height), bytesPerLine, format);
    QImage copy(int(width), int(height), format);
    for (int y = 0; y < copy.height(); ++y)
        std::memcpy(copy.scanLine(y), pixels + qint64(y) * bytesPerLine, bytesPerLine);
    return copy;
}

}  // namespace vantrel::ui
