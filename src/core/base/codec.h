#pragma once

#include <QByteArray>
#include <QString>

namespace lir {

// Windows-1251, the code page of every file the program writes. A character
// the code page lacks becomes '?'.
QByteArray toWindows1251(const QString& text);
QString fromWindows1251(const QByteArray& bytes);

} // namespace lir
