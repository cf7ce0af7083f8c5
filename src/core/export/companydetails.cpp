#include "core/export/companydetails.h"

#include "core/base/error.h"
#include "core/base/safefile.h"
#include "core/db/storesettings.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <optional>
#include <utility>

namespace lir {

namespace {

const QString section = QStringLiteral("company");

QString iniPath(const QString& dir)
{
    return QDir(dir).filePath(db::settingsFileName());
}

// The lines of the file as text; the file is UTF-8, a byte order mark is dropped.
QStringList fileLines(const QByteArray& bytes)
{
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

// "[name]" opens a section; nothing for any other line.
std::optional<QString> sectionName(const QString& line)
{
    const QString t = line.trimmed();
    if (t.size() >= 2 && t.startsWith(u'[') && t.endsWith(u']'))
        return t.mid(1, t.size() - 2).trimmed().toLower();
    return std::nullopt;
}

// A value as lircomplect.ini holds it: blanks around it ignored, optionally
// in double quotes; \n, \\ and \" stand for a line break, a backslash and a
// quote, any other backslash stays as it is.
QString unescaped(QString v)
{
    v = v.trimmed();
    if (v.size() >= 2 && v.startsWith(u'"') && v.endsWith(u'"'))
        v = v.mid(1, v.size() - 2);
    QString out;
    out.reserve(v.size());
    for (qsizetype i = 0; i < v.size(); ++i) {
        const QChar c = v.at(i);
        if (c == u'\\' && i + 1 < v.size()) {
            const QChar n = v.at(i + 1);
            if (n == u'n' || n == u'\\' || n == u'"') {
                out += n == u'n' ? QChar(u'\n') : n;
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

// The reverse, in a form that QSettings reads back the same: quoted where
// blanks at the ends, a comma (a list to QSettings), a semicolon or a quote
// would change it.
QString escaped(const QString& v)
{
    QString out;
    for (const QChar c : v) {
        if (c == u'\\')
            out += QStringLiteral("\\\\");
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c == u'"')
            out += QStringLiteral("\\\"");
        else if (c != u'\r')
            out += c;
    }
    const bool quote = v != v.trimmed() || v.contains(u',') || v.contains(u';') || v.contains(u'"')
                       || v.startsWith(u'#');
    return quote ? u'"' + out + u'"' : out;
}

} // namespace

bool parseVatRate(const QString& text, int* hundredths)
{
    QString t = text.trimmed();
    t.replace(u',', u'.');
    const qsizetype dot = t.indexOf(u'.');
    const QString whole = dot < 0 ? t : t.left(dot);
    QString frac = dot < 0 ? QString() : t.mid(dot + 1);
    if (whole.isEmpty() || whole.size() > 3 || frac.size() > 2)
        return false;
    for (const QChar c : QString(whole + frac))
        if (!c.isDigit() || c.unicode() > 127)
            return false;
    while (frac.size() < 2)
        frac += u'0';
    const int v = whole.toInt() * 100 + frac.toInt();
    if (v > 10000)
        return false;
    *hundredths = v;
    return true;
}

CompanyDetails readCompanyDetails(const QString& dir)
{
    CompanyDetails d;
    QFile f(iniPath(dir));
    if (!f.open(QIODevice::ReadOnly))
        return d;
    bool inSection = false;
    for (const QString& line : fileLines(f.readAll())) {
        if (const auto name = sectionName(line)) {
            inSection = *name == section;
            continue;
        }
        const QString t = line.trimmed();
        const qsizetype eq = t.indexOf(u'=');
        if (!inSection || t.startsWith(u';') || t.startsWith(u'#') || eq <= 0)
            continue;
        const QString key = t.left(eq).trimmed().toLower();
        const QString value = unescaped(t.mid(eq + 1));
        if (key == QLatin1String("name"))
            d.name = value;
        else if (key == QLatin1String("address"))
            d.address = value;
        else if (key == QLatin1String("phone"))
            d.phone = value;
        else if (key == QLatin1String("email"))
            d.email = value;
        else if (key == QLatin1String("inn"))
            d.inn = value;
        else if (key == QLatin1String("kpp"))
            d.kpp = value;
        else if (key == QLatin1String("bank"))
            d.bank = value;
        else if (key == QLatin1String("logo"))
            d.logo = value;
        else if (key == QLatin1String("signer"))
            d.signer = value;
        else if (key == QLatin1String("vat")) {
            const QString v = value.trimmed().toLower();
            d.vat = v == QLatin1String("included") ? CompanyDetails::Vat::Included
                    : v == QLatin1String("on_top") ? CompanyDetails::Vat::OnTop
                                                   : CompanyDetails::Vat::None;
        } else if (key == QLatin1String("vat_rate")) {
            int rate = 0;
            if (parseVatRate(value, &rate))
                d.vatRate = rate;
        } else if (key == QLatin1String("valid_days")) {
            bool ok = false;
            const int days = value.trimmed().toInt(&ok);
            if (ok && days > 0 && days <= 3650)
                d.validDays = days;
        }
    }
    return d;
}

void writeCompanyDetails(const QString& dir, const CompanyDetails& d)
{
    const QString path = iniPath(dir);
    QStringList lines;
    if (QFile::exists(path)) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            throw Error(cannotWriteFile(path, f.errorString()));
        lines = fileLines(f.readAll());
    }

    QStringList own{QStringLiteral("[company]")};
    auto add = [&own](const char* key, const QString& value) {
        if (!value.trimmed().isEmpty())
            own << QLatin1String(key) + u'=' + escaped(value);
    };
    add("name", d.name);
    add("address", d.address);
    add("phone", d.phone);
    add("email", d.email);
    add("inn", d.inn);
    add("kpp", d.kpp);
    add("bank", d.bank);
    add("logo", d.logo);
    add("signer", d.signer);
    own << (QStringLiteral("vat=") + (d.vat == CompanyDetails::Vat::Included ? QStringLiteral("included")
                                      : d.vat == CompanyDetails::Vat::OnTop  ? QStringLiteral("on_top")
                                                                             : QStringLiteral("none")));
    own << QStringLiteral("vat_rate=") + QString::number(d.vatRate / 100.0, 'g', 6);
    if (d.validDays > 0)
        own << QStringLiteral("valid_days=") + QString::number(d.validDays);

    // The old section is replaced where it stood; every other line stays.
    QStringList out;
    bool inSection = false;
    bool placed = false;
    for (const QString& line : std::as_const(lines)) {
        if (const auto name = sectionName(line)) {
            inSection = *name == section;
            if (inSection) {
                if (!placed)
                    out << own << QString();
                placed = true;
                continue;
            }
        }
        if (!inSection)
            out << line;
    }
    if (!placed) {
        if (!out.isEmpty() && !out.constLast().trimmed().isEmpty())
            out << QString();
        out << own;
    }

    AtomicFile file(path);
    file.write((out.join(u'\n') + u'\n').toUtf8());
    file.commit();
}

} // namespace lir
