#pragma once

#include <QString>

namespace orvella::core {

// Separates the fields of a sort key, and the entries of the stored suffix list.
inline const QString kFieldDelimiter = QStringLiteral("!!!TWINE!!!");

} // namespace orvella::core
