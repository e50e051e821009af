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

}  // namespace vivizu
