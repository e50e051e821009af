#pragma once
// Language files: INI files with a section "Messages" and one section per
// window, named after the window's component name. A window section's line
// "Component.Property=Value" sets one published property of one of the
// window's components; "Property=Value" or ".Property=Value" one of the
// window itself.
#include "platform/Ini.h"

#include <QObject>
#include <QString>
#include <cstddef>
#include <string>

namespace vivizu {

// A language file larger than this is not read (a line on stderr says so).
inline constexpr std::size_t LanguageFileLimit = 4 * 1024 * 1024;

// A language file's lines as UTF-8 text: the file is read as UTF-8 when it
// is valid UTF-8 (a byte-order mark is skipped), otherwise in the ANSI code
// page of the user's locale. A missing or unreadable file gives no lines,
// and so does one that is not a regular file or is larger than
// LanguageFileLimit (then with a line on stderr).
TIniFile LoadLanguageFile(const std::string& path);

// Puts the lines of the window's section of the language file at path onto
// the window, in file order. Names of sections, components and properties
// match without regard to case; a line that names no component or property
// is skipped, and a value that does not suit its property ends the section,
// keeping the lines before it. Reports nothing; always true.
bool ApplyLanguageFile(QObject& window, const std::string& path);

// The component of that name (without regard to case) among window's
// components: its children and theirs, but not those of other windows it
// holds. Null when there is none.
QObject* FindComponent(QObject& window, const QString& name);

// Sets one property of component from text: an integer property gets the
// value read by ParseInteger (std::invalid_argument when it is not a whole
// number), a text property the value, a list-of-lines property the value
// split at every "||". Properties of other kinds, names that no property
// has, and a null component are ignored.
void SetComponentProperty(QObject* component, const QString& name, const QString& value);

} // namespace vivizu
