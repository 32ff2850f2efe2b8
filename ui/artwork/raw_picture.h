#pragma once
// A picture as bare pixels behind a 16-byte header (magic, width, height,
// QImage format): what the build writes for the compiled-in pictures, so that
// showing one decodes nothing and loads no image-format plugin.
#include <QByteArray>
#include <QImage>

namespace vantrel::ui {

QByteArray RawPictureBytes(const QImage& image);
// The picture over bytes (not copied when they are aligned for pixels; they
// must outlive it), or a null image when they are not a raw picture.
QImage RawPictureView(const uchar* bytes, qint64 size);

}  // namespace vantrel::ui
