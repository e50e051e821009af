#include "i18n/LanguageFile.h"

#include "i18n/Messages.h"
#include "platform/SmallFile.h"

#include <QMetaProperty>
#include <QStringList>
#include <QWidget>
#include <optional>
#include <stdexcept>

namespace vivizu {

namespace {

QObject* FindIn(QObject& parent, const QString& name) {
    for (QObject* child : parent.children()) {
        if (child->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return child;
        const auto* widget = qobject_cast<QWidget*>(child);
        if (widget && widget->isWindow())
            continue;  // another window's components are its own
        if (QObject* found = FindIn(*child, name))
            return found;
    }
    return nullptr;
}

bool IsIntegerType(int type) {
    switch (type) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

// The writable property of that name, the most derived class's first, so
// that a control's own "Width" wins over the toolkit base's read-only
// "width".
std::optional<QMetaProperty> FindProperty(const QObject& component, const QString& name) {
    const QMetaObject* meta = component.metaObject();
    for (int i = meta->propertyCount() - 1; i >= 0; --i) {
        const QMetaProperty property = meta->property(i);
        if (property.isWritable() &&
            name.compare(QLatin1String(property.name()), Qt::CaseInsensitive) == 0)
            return property;
    }
    return std::nullopt;
}

} // namespace

TIniFile LoadLanguageFile(const std::string& path) {
    const std::optional<std::string> bytes = ReadSmallFileOrSay(path, LanguageFileLimit, "language file");
    if (!bytes)
        return {};
    return TIniFile::FromText(DecodeLanguageText(*bytes).toStdString());
}

QObject* FindComponent(QObject& window, const QString& name) { return FindIn(window, name); }

void SetComponentProperty(QObject* component, const QString& name, const QString& value) {
    if (!component)
        return;
    const auto property = FindProperty(*component, name);
    if (!property || property->isEnumType() || property->isFlagType())
        return;
    const int type = property->metaType().id();
    if (IsIntegerType(type)) {
        const auto number = ParseInteger(value.toStdString());
        if (!number)
            throw std::invalid_argument("'" + value.toStdString() + "' is not a valid integer value");
        property->write(component, *number);
    } else if (type == QMetaType::QString) {
        property->write(component, value);
    } else if (type == QMetaType::QStringList) {
        property->write(component, value.split(QStringLiteral("||")));
    }
}

bool ApplyLanguageFile(QObject& window, const std::string& path) {
    const auto lines = LoadLanguageFile(path).ReadSection(window.objectName().toStdString());
    try {
        for (const auto& line : lines) {
            const std::string_view key = line.Key;
            const auto dot = key.find('.');
            const std::string_view componentName =
                dot == std::string_view::npos ? std::string_view() : TrimBlanks(key.substr(0, dot));
            const std::string_view propertyName =
                dot == std::string_view::npos ? key : TrimBlanks(key.substr(dot + 1));
            QObject* component =
                componentName.empty()
                    ? &window
                    : FindComponent(window, QString::fromUtf8(componentName.data(),
                                                              qsizetype(componentName.size())));
            SetComponentProperty(component,
                                 QString::fromUtf8(propertyName.data(), qsizetype(propertyName.size())),
                                 QString::fromStdString(line.Value));
        }
    } catch (const std::exception&) {
        // A value that does not suit its property ends this window's lines.
    }
    return true;
}

} // namespace vivizu
