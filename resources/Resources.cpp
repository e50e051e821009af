#include "resources/Resources.h"

#include <QFile>

// Q_INIT_RESOURCE names a function at global scope, so it cannot be used
// inside the namespace.
static void InitResourceData()
{
    Q_INIT_RESOURCE(vivizu);
}

namespace vivizu {

void InitVivizuResources()
{
    InitResourceData();
}

QPixmap ArtPixmap(const QString& name, qreal devicePixelRatio)
{
    const QString base = QStringLiteral(":/vivizu/") + name;
    if (devicePixelRatio > 1.0) {
        const QString large = base + QStringLiteral("@2x.png");
        if (QFile::exists(large)) {
            QPixmap pixmap(large);
            pixmap.setDevicePixelRatio(2.0);
            return pixmap;
        }
    }
    return QPixmap(base + QStringLiteral(".png"));
}

QIcon AppIcon()
{
    // The sizes make-art.sh draws; the small ones have a plainer drawing.
    static constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256};
    QIcon icon;
    for (int size : kSizes)
        icon.addFile(QStringLiteral(":/vivizu/icon/vivizu-%1.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace vivizu
