#include "core/prices/paradoximport.h"

#include "core/base/dialogs.h"
#include "core/base/error.h"
#include "core/base/safefile.h"
#include "core/db/paradox.h"
#include "core/orders/ordertable.h"
#include "core/prices/pricetable.h"
#include "core/prices/pricetexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lir::prices {

namespace {

namespace t = pricetexts;
namespace px = db::paradox;
using Type = db::FieldDef::Type;

bool isNumber(px::FieldType type)
{
    switch (type) {
    case px::FieldType::Short:
    case px::FieldType::Long:
    case px::FieldType::AutoInc:
    case px::FieldType::Number:
    case px::FieldType::Currency:
    case px::FieldType::Bcd:
        return true;
    default:
        return false;
    }
}

// A field of the Paradox table that ours lacks keeps its kind: texts (dates
// and times as ISO text), whole numbers, other numbers.
db::FieldDef extraField(const px::Field& f)
{
    switch (f.type) {
    case px::FieldType::Alpha:
        return {f.name, Type::Text, f.length, false};
    case px::FieldType::Short:
    case px::FieldType::Long:
    case px::FieldType::AutoInc:
    case px::FieldType::Logical:
        return {f.name, Type::Int32, 0, false};
    case px::FieldType::Number:
    case px::FieldType::Currency:
    case px::FieldType::Bcd:
        return {f.name, Type::Double, 0, false};
    case px::FieldType::Date:
    case px::FieldType::Time:
    case px::FieldType::Timestamp:
        break;
    }
    return {f.name, Type::Text, 0, false};
}

struct Conversion
{
    QVector<db::FieldDef> fields;
    QVector<QVector<QVariant>> rows;
};

// Our fields first, matched by name, then the rest of the Paradox ones.
Conversion convert(const QString& file, const ParadoxLayout& layout, const px::Table& source)
{
    QHash<QString, int> byName;
    for (int i = 0; i < source.fields.size(); ++i)
        byName.insert(source.fields[i].name.toCaseFolded(), i);

    Conversion c;
    QVector<int> from;
    QVector<bool> used(source.fields.size(), false);
    for (db::FieldDef f : layout.fields) {
        const auto it = byName.constFind(f.name.toCaseFolded());
        if (it == byName.cend())
            throw Error(t::paradoxFieldMissing(file, f.name));
        const px::Field& s = source.fields[*it];
        if (f.type == Type::Text) {
            if (s.type != px::FieldType::Alpha)
                throw Error(t::paradoxFieldNotText(file, s.name, px::typeName(s.type)));
            f.size = std::max(f.size, s.length);
        } else if (!isNumber(s.type)) {
            throw Error(t::paradoxFieldNotNumber(file, s.name, px::typeName(s.type)));
        }
        c.fields.push_back(f);
        from.push_back(*it);
        used[*it] = true;
    }
    for (int i = 0; i < source.fields.size(); ++i) {
        if (!used[i]) {
            c.fields.push_back(extraField(source.fields[i]));
            from.push_back(i);
        }
    }

    c.rows.reserve(source.rows.size());
    for (const QVector<QVariant>& row : source.rows) {
        QVector<QVariant> out;
        out.reserve(from.size());
        for (const int i : from)
            out.push_back(row[i]);
        c.rows.push_back(std::move(out));
    }
    return c;
}

// Renames a file without ever replacing one: a file already at `to` stays,
// and the reason of a failure is given in the program's words.
bool renameNoReplace(const QString& from, const QString& to, QString* error)
{
    const QByteArray oldName = QFile::encodeName(from);
    const QByteArray newName = QFile::encodeName(to);
    int rc = ::renameat2(AT_FDCWD, oldName.constData(), AT_FDCWD, newName.constData(), RENAME_NOREPLACE);
    if (rc != 0 && errno == EINVAL) {
        // A file system without that flag: a new link fails just as well on an existing name.
        rc = ::link(oldName.constData(), newName.constData());
        if (rc == 0)
            ::unlink(oldName.constData());
    }
    if (rc == 0)
        return true;
    const int e = errno;
    *error = t::cannotRename(QFileInfo(from).fileName(), QFileInfo(to).fileName(),
                             e == EEXIST ? t::fileAlreadyThere() : fileErrorReason(e));
    return false;
}

// A new file beside the table, hidden so that a run killed halfway leaves
// the leftover out of sight; removed again unless it was renamed into place.
struct TemporaryFile
{
    QString path;

    TemporaryFile(const QString& target, const QString& modeOf)
    {
        const QFileInfo fi(target);
        QByteArray name = temporaryFileTemplate(target);
        const int fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd < 0)
            throw Error(t::cannotCreateTemporary(QDir::toNativeSeparators(fi.absolutePath()),
                                                 fileErrorReason(errno)));
        path = QFile::decodeName(name);
        // The permissions of the file it replaces, or those of a new file.
        struct stat st;
        mode_t mode;
        if (!modeOf.isEmpty() && ::stat(QFile::encodeName(modeOf).constData(), &st) == 0) {
            mode = st.st_mode & 07777;
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
        }
        ::fchmod(fd, mode);
        ::close(fd);
    }
    ~TemporaryFile()
    {
        QFile::remove(path);
        // What the engine may have left beside it.
        QFile::remove(path + QStringLiteral("-journal"));
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
};

ParadoxConversion convertOrThrow(const QString& source, const ParadoxLayout& layout)
{
    const QString dir = db::netFileDir();
    const QString target = QDir(dir).filePath(layout.fileName);
    const QString backup = target + QStringLiteral(".paradox");
    const QFileInfo sourceInfo(source);
    const QFileInfo targetInfo(target);
    const bool inPlace =
        targetInfo.exists() && sourceInfo.canonicalFilePath() == targetInfo.canonicalFilePath();

    if (db::Table::isOpen(layout.fileName))
        throw Error(t::tableInUse(layout.fileName));
    if (!inPlace && targetInfo.exists())
        throw Error(t::targetExists(layout.fileName, QDir::toNativeSeparators(dir)));
    if (inPlace && QFileInfo::exists(backup))
        throw Error(t::backupExists(QFileInfo(backup).fileName()));

    const Conversion c = convert(sourceInfo.fileName(), layout, px::readTable(source));

    const TemporaryFile temporary(target, inPlace ? source : QString());
    db::writeTableFile(temporary.path, layout.tableName, c.fields, c.rows);

    const ParadoxConversion done{layout.fileName, int(c.rows.size()),
                                 inPlace ? QFileInfo(backup).fileName() : QString()};
    QString error;
    if (!inPlace) {
        // A rename never replaces a file: a table that appeared meanwhile stays.
        if (!renameNoReplace(temporary.path, target, &error))
            throw Error(error);
        return done;
    }
    if (!renameNoReplace(target, backup, &error))
        throw Error(error);
    if (!renameNoReplace(temporary.path, target, &error)) {
        QString back;
        if (!renameNoReplace(backup, target, &back))
            throw Error(error + u'\r' + back + u'\r' + t::originalKeptAs(QFileInfo(backup).fileName()));
        throw Error(error);
    }
    return done;
}

} // namespace

ParadoxLayout priceLayout()
{
    return {tableFile(), QStringLiteral("zeni"), tableFields()};
}

ParadoxLayout orderLayout()
{
    return {orders::tableFile(), QStringLiteral("zakaz"), orders::tableFields()};
}

QVector<ParadoxLayout> paradoxLayouts()
{
    return {priceLayout(), orderLayout()};
}

ParadoxConversion convertParadoxTable(const QString& source, const ParadoxLayout& layout)
{
    try {
        return convertOrThrow(source, layout);
    } catch (const Error& e) {
        throw Error(t::paradoxConversionFailed(layout.fileName, e.message()));
    }
}

ParadoxConversion importParadoxTable(const QString& source)
{
    const QString file = QFileInfo(source).fileName();
    QStringList names;
    try {
        for (const px::Field& f : px::readTable(source).fields)
            names << f.name.toCaseFolded();
    } catch (const Error& e) {
        throw Error(t::paradoxConversionFailed(file, e.message()));
    }
    for (const ParadoxLayout& layout : paradoxLayouts()) {
        const bool all =
            std::all_of(layout.fields.cbegin(), layout.fields.cend(),
                        [&names](const db::FieldDef& f) { return names.contains(f.name.toCaseFolded()); });
        if (all)
            return convertParadoxTable(source, layout);
    }
    throw Error(t::paradoxConversionFailed(file, t::paradoxUnknownTable(file)));
}

void offerParadoxConversions()
{
    for (const ParadoxLayout& layout : paradoxLayouts()) {
        const QString path = QDir(db::netFileDir()).filePath(layout.fileName);
        if (!QFileInfo(path).isFile() || !px::isParadoxTable(path))
            continue;
        if (dialogs().question(t::paradoxQuestion(layout.fileName)) != Dialogs::Answer::Yes)
            continue;
        runGuarded([&] { convertParadoxTable(path, layout); });
    }
}

} // namespace lir::prices
