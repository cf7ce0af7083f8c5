#pragma once

#include "core/base/dialogs.h"
#include "core/prices/pricelookup.h"

#include <QHash>
#include <QLocale>

#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <iosfwd>

// Shared pieces of the test programs: every program runs with a QApplication on
// the offscreen platform and with recording dialogs installed.
namespace lir::test {

// The recording dialogs installed for the whole test program.
RecordingDialogs& recorder();

// A fresh temporary directory made current for the life of the object.
class ScopedWorkDir
{
public:
    ScopedWorkDir();
    ~ScopedWorkDir();
    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

// The locale of typed and written numbers for the life of the object.
class ScopedNumberLocale
{
public:
    explicit ScopedNumberLocale(const QLocale& locale);
    ~ScopedNumberLocale();

private:
    std::function<QLocale()> m_previous;
};

// The contents of a file the test needs (a failure when it cannot be read).
QByteArray readFile(const QString& path);

// Compares two Windows-1251 documents line by line, so that a failure names
// the first differing line, and then byte for byte.
void expectSameDocument(const QByteArray& actual, const QByteArray& expected);

// A price lookup over a fixed table: a missing key is not found, an empty
// price is a listed part without a price.
PriceLookup priceTable(const QHash<QString, std::optional<double>>& prices);

} // namespace lir::test

// Readable QString output in gtest messages.
void PrintTo(const QString& s, std::ostream* os);
