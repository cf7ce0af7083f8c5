#pragma once

#include <QString>

// Texts of the kit sheet and its messages.
namespace lir::sheettexts {

inline QString handleHeight() { return QStringLiteral("Высота ручки:"); }
inline QString handleWidth() { return QStringLiteral("Ширина ручки:"); }
inline QString total() { return QStringLiteral("Итого"); }
inline QString saveFilter() { return QStringLiteral("*.htm (*html)"); }
inline QString saveSuffix() { return QStringLiteral("html"); }
inline QString cannotWrite(const QString& path, const QString& reason)
{
    return QStringLiteral("Не удалось записать файл %1: %2").arg(path, reason);
}

} // namespace lir::sheettexts
