#pragma once

// Shared pieces of the export tests: workbooks read back with openpyxl, price
// tables of the expected documents, and the spreadsheet application and
// number locale an export runs with.
#include "core/base/environment.h"
#include "core/calc/kitcalculator.h"
#include "core/export/ProceduresAndFunctions.h"
#include "support/testsupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <initializer_list>
#include <utility>

namespace lir::test {

// What tests/support/dump_xlsx.py reads of a workbook.
inline QJsonObject readBack(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(LIR_SOURCE_DIR "/tests/support/dump_xlsx.py"), path});
    EXPECT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
}

inline QJsonObject cell(const QJsonObject& book, const char* ref)
{
    return book[QStringLiteral("cells")].toObject()[QLatin1String(ref)].toObject();
}

inline QJsonValue value(const QJsonObject& book, const char* ref)
{
    return cell(book, ref)[QStringLiteral("value")];
}

// Top, bottom, left, right: "thin/medium/-/-".
inline QString borders(const QJsonObject& c)
{
    QStringList out;
    for (const QJsonValue& v : c[QStringLiteral("border")].toArray())
        out << (v.isNull() ? QStringLiteral("-") : v.toString());
    return out.join(QLatin1Char('/'));
}

// Whether the cells hold these texts (formulas included); a failure names
// every cell that differs.
inline ::testing::AssertionResult holdsTexts(const QJsonObject& book,
                                             std::initializer_list<std::pair<const char*, const char16_t*>> texts)
{
    QStringList wrong;
    for (const auto& [ref, expected] : texts) {
        const QString held = value(book, ref).toString();
        if (held != QString::fromUtf16(expected))
            wrong << QStringLiteral("%1: \"%2\", not \"%3\"")
                         .arg(QLatin1String(ref), held, QString::fromUtf16(expected));
    }
    if (wrong.isEmpty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << wrong.join(QStringLiteral("; ")).toStdString();
}

// A price table given as JSON: designation to price, null for a listed part
// without a price.
inline PriceLookup priceTableOf(const QJsonObject& prices)
{
    QHash<QString, std::optional<double>> table;
    for (auto it = prices.begin(); it != prices.end(); ++it)
        table.insert(it.key(), it->isNull() ? std::nullopt : std::optional<double>(it->toDouble()));
    return priceTable(table);
}

// A calculation of the given sizes, the other inputs as they stand.
inline void calculateSizes(KitCalculator& k, int ffh, int ffb)
{
    k.setFFH(ffh);
    k.setFFB(ffb);
    k.RashetButtonClick();
}

// An export as the windows run it: Russian numbers, and a spreadsheet
// application that the test chooses; both are put back afterwards.
class ExportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        recorder().clear();
        m_saved = spreadsheetApplication();
        environment().numberLocale = [] { return QLocale(QLocale::Russian); };
    }
    void TearDown() override
    {
        spreadsheetApplication() = m_saved;
        environment().numberLocale = [] { return QLocale::system(); };
        recorder().clear();
    }
    void noSpreadsheet()
    {
        spreadsheetApplication().find = [] { return QString(); };
        spreadsheetApplication().open = [](const QString&, const QString&) { FAIL() << "nothing to open"; };
    }
    // A spreadsheet application that records what it is asked to open; new
    // workbooks go to the documents folder below dir.
    void recordingSpreadsheet(const ScopedWorkDir& dir, QStringList* opened)
    {
        qputenv("XDG_DOCUMENTS_DIR", dir.file(QStringLiteral("docs")).toUtf8());
        qputenv("HOME", dir.path().toUtf8());
        spreadsheetApplication().find = [] { return QStringLiteral("/usr/bin/localc"); };
        spreadsheetApplication().open = [opened](const QString& program, const QString& file) {
            *opened << program << file;
        };
    }

private:
    SpreadsheetApplication m_saved;
};

} // namespace lir::test
