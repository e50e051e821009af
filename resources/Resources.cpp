#include "resources/Resources.h"

#include "resources/ArtPack.h"

namespace vivizu {

namespace {

// The picture name (without ".png") as a pixmap, or a null pixmap when
// there is none. Every PNG of resources/png is packed at build time, so the
// packed copy is the only place to look.
QPixmap Picture(const QString& name)
{
    const QByteArray key = name.toLatin1();
    const TPackedPicture* packed = FindPackedPicture(std::string_view(key.constData(), key.size()));
    if (!packed) return {};
    // The image is already in the pixmap's format: it becomes the pixmap
    // without a copy.
    return QPixmap::fromImage(UnpackPicture(*packed));
}

}  // namespace

QPixmap ArtPixmap(const QString& name, qreal devicePixelRatio)
{
    if (devicePixelRatio > 1.0) {
        QPixmap large = Picture(name + QStringLiteral("@2x"));
        if (!large.isNull()) {
            large.setDevicePixelRatio(2.0);
            return large;
        }
    }
    return Picture(name);
}

QIcon AppIcon()
{
    // The sizes make-art.sh draws; the small ones have a plainer drawing.
    static constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256};
    QIcon icon;
    for (int size : kSizes)
        icon.addPixmap(Picture(QStringLiteral("icon/vivizu-%1").arg(size)));
    return icon;
}

}  // namespace vivizu
