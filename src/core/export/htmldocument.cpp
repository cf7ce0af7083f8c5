#include "core/export/htmldocument.h"

#include "core/base/codec.h"

namespace lir {

QString htmlEscape(const QString& text)
{
    QString s;
    s.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('&'))
            s += QStringLiteral("&amp;");
        else if (c == QLatin1Char('<'))
            s += QStringLiteral("&lt;");
        else if (c == QLatin1Char('>'))
            s += QStringLiteral("&gt;");
        else
            s += c;
    }
    return s;
}

QByteArray htmlDocumentBytes(const QString& text)
{
    return toWindows1251(text);
}

} // namespace lir
