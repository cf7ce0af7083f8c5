// The move from Paradox: price and order tables written by pxlib are converted
// row by row, all or nothing, on start-up's question or by path.
#include "core/base/error.h"
#include "core/calc/turnkit.h"
#include "core/db/storage.h"
#include "core/export/kitsheet.h"
#include "core/export/kitsheet_html.h"
#include "core/prices/paradoximport.h"
#include "core/prices/pricetable.h"
#include "support/paradoxfixture.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lir;
using test::ParadoxField;
using Rows = QVector<QVector<QVariant>>;

namespace {

// The Cyrillic "ЛИР-6742-01ДМR" and its twin with a Latin M: two designations, two prices.
const QString kKit = QStringLiteral("ЛИР-6742-01ДМR");
const QString kKitLatinM = QStringLiteral("ЛИР-6742-01ДMR");

QVector<ParadoxField> priceFields()
{
    return {test::pxAlpha(QStringLiteral("oboznashenie"), 40), test::pxAlpha(QStringLiteral("nazvanie"), 100),
            test::pxNumber(QStringLiteral("zena"))};
}

// 300 rows: look-alike designations, an empty and a zero price, 40 and 100 characters.
Rows priceRows()
{
    Rows rows = {{kKit, QStringLiteral("Комплект поворотно-откидной"), 1520.5},
                 {kKitLatinM, QStringLiteral("Комплект (латинская M)"), 1600.0},
                 {QStringLiteral("6742.15.00-20"), QStringLiteral("Петля откидная"), QVariant()},
                 {QStringLiteral("DIN7982(4*25)"), QStringLiteral("Шуруп 4*25"), 0.0},
                 {QString(QStringLiteral("6742.08.00-20L-") + QString(25, u'Щ')), QString(100, u'ё'), 0.01}};
    for (int i = static_cast<int>(rows.size()); i < 300; ++i)
        rows.push_back({QStringLiteral("6742.%1.00-20").arg(i, 3, 10, QLatin1Char('0')),
                        QStringLiteral("Деталь №%1 поворотная").arg(i),
                        i % 7 ? QVariant(i * 1.25) : QVariant()});
    return rows;
}

QVector<ParadoxField> orderFields()
{
    return {test::pxLong(QStringLiteral("Id")),          test::pxAlpha(QStringLiteral("Name"), 100),
            test::pxLong(QStringLiteral("Parentid")),    test::pxAlpha(QStringLiteral("Designation"), 20),
            test::pxAlpha(QStringLiteral("Type"), 30),   test::pxShort(QStringLiteral("Count")),
            test::pxShort(QStringLiteral("Color")),      test::pxShort(QStringLiteral("FFH")),
            test::pxShort(QStringLiteral("FFB")),        test::pxShort(QStringLiteral("GH")),
            test::pxAlpha(QStringLiteral("Profil"), 20), test::pxAlpha(QStringLiteral("Dop_komplekt"), 100)};
}

// Orders of one to eight kits, each a header row and its kit rows, numbered 1, 2, 3 ...
Rows orderRows()
{
    Rows rows;
    for (int order = 0; rows.size() < 300; ++order) {
        const int header = int(rows.size()) + 1;
        const QString name = order % 5 ? QStringLiteral("Заказ №%1, Иванов").arg(order) : QString(100, u'Я');
        rows.push_back({header, name, 0, {}, {}, {}, {}, {}, {}, {}, {}, {}});
        for (int k = 0; k <= order % 8; ++k)
            rows.push_back({int(rows.size()) + 1, QVariant(), header, QStringLiteral("ЛИР-6742-33АМR100"),
                            QStringLiteral("Поворотно-откидная, ПВХ"), 1 + k, 9016, 1400 + k, 700, 700,
                            QStringLiteral("ARtec PAD"),
                            k == 3 ? QString(100, u'ц') : QStringLiteral("Проветриватель; Ограничитель")});
    }
    return rows;
}

QString message(const std::function<void()>& f)
{
    try {
        f();
    } catch (const Error& e) {
        return e.message();
    }
    return QStringLiteral("<no error>");
}

class ParadoxImport : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Tables in the Paradox format are converted into files of the
        // working directory: nothing of it concerns a server.
        if (lir::test::onTestServer())
            GTEST_SKIP() << "converts into the tables' files";
        db::Table::closeAll();
        db::setNetFileDir(work.path());
        test::recorder().clear();
    }
    void TearDown() override
    {
        db::Table::closeAll();
        db::setNetFileDir(QString());
        test::recorder().clear();
    }

    // Every row of a table in its order, as the storage layer reads it.
    Rows tableRows(const QString& file)
    {
        db::Table& t = db::Table::open(file);
        Rows rows;
        for (bool more = t.first(); more; more = t.next()) {
            QVector<QVariant> row;
            for (const QString& f : t.fieldNames())
                row.push_back(t.value(f));
            rows.push_back(row);
        }
        return rows;
    }

    // Compares row by row, so that a failure names the first differing row.
    static void expectSameRows(const Rows& actual, const Rows& expected)
    {
        ASSERT_EQ(actual.size(), expected.size());
        for (int r = 0; r < actual.size(); ++r) {
            ASSERT_EQ(actual[r].size(), expected[r].size()) << "row " << r + 1;
            for (int i = 0; i < actual[r].size(); ++i) {
                // An empty text is an empty field.
                const QVariant e = expected[r][i].toString().isEmpty() ? QVariant() : expected[r][i];
                EXPECT_EQ(actual[r][i].isValid(), e.isValid()) << "row " << r + 1 << " field " << i + 1;
                if (e.isValid()) {
                    EXPECT_EQ(actual[r][i].toString(), e.toString()) << "row " << r + 1 << " field " << i + 1;
                }
            }
        }
    }

    // Hidden ones too: the new file is made under a hidden name.
    QStringList files() const { return QDir(work.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

    test::ScopedWorkDir work;
};

} // namespace

TEST_F(ParadoxImport, PriceTableConvertedInPlaceRowByRow)
{
    const QString zeni = work.file(QStringLiteral("zeni.db"));
    test::writeParadoxTable(zeni, priceFields(), priceRows());
    const QByteArray original = test::readFile(zeni);
    const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(zeni, permissions));

    const prices::ParadoxConversion done = prices::convertParadoxTable(zeni, prices::priceLayout());
    EXPECT_EQ(done.fileName, QStringLiteral("zeni.db"));
    EXPECT_EQ(done.rows, 300);
    EXPECT_EQ(done.keptAs, QStringLiteral("zeni.db.paradox"));

    EXPECT_EQ(files(), (QStringList{QStringLiteral("zeni.db"), QStringLiteral("zeni.db.paradox")}));
    const auto modeBits = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                          QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther |
                          QFile::ExeOther;
    EXPECT_EQ(QFile::permissions(zeni) & modeBits, permissions) << "the new table may be read as the old one";
    EXPECT_EQ(test::readFile(zeni + QStringLiteral(".paradox")), original);
    expectSameRows(tableRows(QStringLiteral("zeni.db")), priceRows());

    db::Table& t = db::Table::open(QStringLiteral("zeni.db"));
    // The name field is as wide as the Paradox one, so no name is cut.
    using Type = db::FieldDef::Type;
    EXPECT_EQ(t.fields(), (QVector<db::FieldDef>{{QStringLiteral("oboznashenie"), Type::Text, 40},
                                                 {QStringLiteral("nazvanie"), Type::Text, 100},
                                                 {QStringLiteral("zena"), Type::Double}}));
    EXPECT_EQ(
        t.query(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'index'")).value(0).value(0),
        QVariant(1));

    // Lookups tell the look-alikes apart; an empty price stays empty, a zero one is zero.
    EXPECT_EQ(LookupPrice(kKit).price, 1520.5);
    EXPECT_EQ(LookupPrice(kKitLatinM).price, 1600.0);
    const PriceResult empty = LookupPrice(QStringLiteral("6742.15.00-20"));
    EXPECT_TRUE(empty.found);
    EXPECT_FALSE(empty.price.has_value());
    EXPECT_EQ(LookupPrice(QStringLiteral("DIN7982(4*25)")).price, 0.0);
    EXPECT_EQ(LookupPrice(QStringLiteral("6742.299.00-20")).price, 299 * 1.25);
    EXPECT_FALSE(LookupPrice(QStringLiteral("6742.294.00-20")).price.has_value());
}

TEST_F(ParadoxImport, OrderTableConvertedInPlaceRowByRow)
{
    const QString zakaz = work.file(QStringLiteral("zakaz.db"));
    test::writeParadoxTable(zakaz, orderFields(), orderRows());

    prices::convertParadoxTable(zakaz, prices::orderLayout());

    EXPECT_EQ(files(), (QStringList{QStringLiteral("zakaz.db"), QStringLiteral("zakaz.db.paradox")}));
    const Rows rows = tableRows(QStringLiteral("zakaz.db"));
    expectSameRows(rows, orderRows());
    EXPECT_GE(rows.size(), 300);
    db::Table& t = db::Table::open(QStringLiteral("zakaz.db"));
    EXPECT_EQ(t.fields(), prices::orderLayout().fields);
    // A header row keeps its kit fields empty, not zero.
    ASSERT_TRUE(t.first());
    EXPECT_TRUE(t.isNull(QStringLiteral("Count")));
    EXPECT_TRUE(t.isNull(QStringLiteral("Designation")));
    EXPECT_EQ(t.value(QStringLiteral("Parentid")), QVariant(0LL));
}

TEST_F(ParadoxImport, FieldsOursLacksAreCarriedOverAfterOurs)
{
    const QString zeni = work.file(QStringLiteral("zeni.db"));
    test::writeParadoxTable(
        zeni,
        {test::pxAlpha(QStringLiteral("Edinica"), 10),
         test::pxNumber(QStringLiteral("ZENA")),
         test::pxAlpha(QStringLiteral("Oboznashenie"), 20),
         test::pxAlpha(QStringLiteral("Nazvanie"), 50),
         {QStringLiteral("Izmeneno"), pxfDate, 4},
         {QStringLiteral("Nalichie"), pxfLogical, 1}},
        {{QStringLiteral("шт."), 2.5, QStringLiteral("6742.01"), QStringLiteral("Засов"), 731702, true},
         {QVariant(), QVariant(), QStringLiteral("6742.02"), QVariant(), QVariant(), false}});

    prices::convertParadoxTable(zeni, prices::priceLayout());

    db::Table& t = db::Table::open(QStringLiteral("zeni.db"));
    EXPECT_EQ(t.fieldNames(), (QStringList{QStringLiteral("oboznashenie"), QStringLiteral("nazvanie"),
                                           QStringLiteral("zena"), QStringLiteral("Edinica"),
                                           QStringLiteral("Izmeneno"), QStringLiteral("Nalichie")}));
    // Our own widths where the Paradox fields are narrower.
    EXPECT_EQ(t.fields()[0].size, prices::DesignationSize);
    EXPECT_EQ(t.fields()[1].size, prices::NameSize);
    expectSameRows(tableRows(QStringLiteral("zeni.db")),
                   {{QStringLiteral("6742.01"), QStringLiteral("Засов"), 2.5, QStringLiteral("шт."),
                     QStringLiteral("2004-05-01"), 1},
                    {QStringLiteral("6742.02"), QVariant(), QVariant(), QVariant(), QVariant(), 0}});
}

TEST_F(ParadoxImport, AFailureLeavesTheOriginalUntouchedAndSaysWhatFailed)
{
    const QString zeni = work.file(QStringLiteral("zeni.db"));
    auto expectRefused = [&](const QString& expected) {
        const QByteArray before = test::readFile(zeni);
        EXPECT_EQ(message([&] { prices::convertParadoxTable(zeni, prices::priceLayout()); }), expected);
        EXPECT_EQ(test::readFile(zeni), before);
        EXPECT_EQ(files(), QStringList{QStringLiteral("zeni.db")}) << "nothing left beside it";
        EXPECT_FALSE(db::Table::isOpen(QStringLiteral("zeni.db")));
    };
    const QString failed =
        QStringLiteral("Не удалось преобразовать таблицу zeni.db, исходный файл не изменён\r");

    // 148 bytes a record, 110 records in each 16 KB block.
    test::writeParadoxTable(zeni, priceFields(), priceRows());
    QFile::resize(zeni, 2048 + 16384 + 100);
    expectRefused(failed +
                  QStringLiteral("Таблица Paradox zeni.db обрезана: в файле 18532 байт, а его записям "
                                 "нужно не меньше 34718"));

    test::writeParadoxTable(zeni, priceFields(), priceRows());
    {
        QFile f(zeni);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.seek(0x06);
        f.write(QByteArray::fromHex("10000000")); // 16 records in the header
    }
    expectRefused(failed +
                  QStringLiteral("Таблица Paradox zeni.db повреждена: в блоках данных 300 записей, а в "
                                 "заголовке 16"));

    test::writeParadoxTable(
        zeni,
        {test::pxAlpha(QStringLiteral("oboznashenie"), 40), test::pxAlpha(QStringLiteral("nazvanie"), 100)},
        {{kKit, QStringLiteral("Комплект")}});
    expectRefused(failed + QStringLiteral("В таблице Paradox zeni.db нет поля zena"));

    test::writeParadoxTable(zeni,
                            {test::pxAlpha(QStringLiteral("oboznashenie"), 40),
                             test::pxAlpha(QStringLiteral("nazvanie"), 100),
                             test::pxAlpha(QStringLiteral("zena"), 10)},
                            {{kKit, QStringLiteral("Комплект"), QStringLiteral("12,50")}});
    expectRefused(failed +
                  QStringLiteral("Поле zena таблицы Paradox zeni.db имеет тип Alpha, а нужно число"));

    test::writeParadoxTable(zeni,
                            {test::pxNumber(QStringLiteral("oboznashenie")),
                             test::pxAlpha(QStringLiteral("nazvanie"), 100),
                             test::pxNumber(QStringLiteral("zena"))},
                            {{1.0, QStringLiteral("Комплект"), 2.0}});
    expectRefused(
        failed +
        QStringLiteral("Поле oboznashenie таблицы Paradox zeni.db имеет тип Number, а нужен текст (Alpha)"));

    // A copy kept from an earlier conversion is never written over.
    test::writeParadoxTable(zeni, priceFields(), priceRows());
    QFile::copy(zeni, zeni + QStringLiteral(".paradox"));
    const QByteArray kept = test::readFile(zeni + QStringLiteral(".paradox"));
    EXPECT_EQ(message([&] { prices::convertParadoxTable(zeni, prices::priceLayout()); }),
              failed + QStringLiteral("Файл zeni.db.paradox уже есть, прежняя копия не перезаписывается"));
    EXPECT_EQ(test::readFile(zeni + QStringLiteral(".paradox")), kept);
    QFile::remove(zeni + QStringLiteral(".paradox"));

    // A value that does not fit our field names its row; nothing is written.
    const QString zakaz = work.file(QStringLiteral("zakaz.db"));
    Rows rows = orderRows();
    rows[4][6] = -1; // Color
    test::writeParadoxTable(zakaz, orderFields(), rows);
    const QByteArray before = test::readFile(zakaz);
    EXPECT_EQ(message([&] { prices::convertParadoxTable(zakaz, prices::orderLayout()); }),
              QStringLiteral("Не удалось преобразовать таблицу zakaz.db, исходный файл не изменён\r"
                             "Строка 5: Значение -1 вне допустимого диапазона 0..65535 (поле Color)"));
    EXPECT_EQ(test::readFile(zakaz), before);
    EXPECT_EQ(files(), (QStringList{QStringLiteral("zakaz.db"), QStringLiteral("zeni.db")}));
}

TEST_F(ParadoxImport, ImportByPathIsToldByTheFieldsAndLeavesTheSourceWhereItIs)
{
    QTemporaryDir elsewhere;
    const QString priceFile = elsewhere.filePath(QStringLiteral("old prices.db"));
    const QString orderFile = elsewhere.filePath(QStringLiteral("ORDERS.DB"));
    test::writeParadoxTable(priceFile, priceFields(), priceRows());
    test::writeParadoxTable(orderFile, orderFields(), orderRows());
    const QByteArray original = test::readFile(priceFile);

    const prices::ParadoxConversion pricesDone = prices::importParadoxTable(priceFile);
    EXPECT_EQ(pricesDone.fileName, QStringLiteral("zeni.db"));
    EXPECT_EQ(pricesDone.rows, 300);
    EXPECT_EQ(pricesDone.keptAs, QString()) << "nothing to rename: the file from elsewhere stays";
    EXPECT_EQ(prices::importParadoxTable(orderFile).fileName, QStringLiteral("zakaz.db"));
    EXPECT_EQ(files(), (QStringList{QStringLiteral("zakaz.db"), QStringLiteral("zeni.db")}));
    EXPECT_EQ(test::readFile(priceFile), original) << "a file from elsewhere stays where it is";
    EXPECT_EQ(QDir(elsewhere.path()).entryList(QDir::Files).size(), 2);
    expectSameRows(tableRows(QStringLiteral("zeni.db")), priceRows());
    expectSameRows(tableRows(QStringLiteral("zakaz.db")), orderRows());
    // A second import is refused (see the command-line tests); a table of neither kind as well.
    const QString other = elsewhere.filePath(QStringLiteral("other.db"));
    test::writeParadoxTable(other, {test::pxAlpha(QStringLiteral("oboznashenie"), 40)}, {{kKit}});
    EXPECT_EQ(message([&] { prices::importParadoxTable(other); }),
              QStringLiteral("Не удалось преобразовать таблицу other.db, исходный файл не изменён\r"
                             "Таблица Paradox other.db не похожа ни на таблицу цен, ни на таблицу заказов: "
                             "в ней нет всех полей ни одной из них"));
}

TEST_F(ParadoxImport, StartUpAsksForEachParadoxTableAndNoChangesNothing)
{
    const QString zeni = work.file(QStringLiteral("zeni.db"));
    const QString zakaz = work.file(QStringLiteral("zakaz.db"));
    test::writeParadoxTable(zeni, priceFields(), priceRows());
    test::writeParadoxTable(zakaz, orderFields(), orderRows());
    const QByteArray priceBytes = test::readFile(zeni);
    const QByteArray orderBytes = test::readFile(zakaz);

    test::recorder().setNextAnswer(Dialogs::Answer::No);
    test::recorder().setNextAnswer(Dialogs::Answer::No);
    prices::offerParadoxConversions();
    ASSERT_EQ(test::recorder().shown().size(), 2u);
    EXPECT_EQ(test::recorder().shown()[0].kind, RecordingDialogs::Shown::Question);
    EXPECT_EQ(test::recorder().shown()[0].text,
              QStringLiteral(
                  "Таблица zeni.db записана в формате Paradox. Преобразовать её? Исходный файл сохранится "
                  "как zeni.db.paradox."));
    EXPECT_EQ(test::recorder().shown()[1].text,
              QStringLiteral("Таблица zakaz.db записана в формате Paradox. Преобразовать её? Исходный файл "
                             "сохранится как zakaz.db.paradox."));
    EXPECT_EQ(test::readFile(zeni), priceBytes);
    EXPECT_EQ(test::readFile(zakaz), orderBytes);
    EXPECT_EQ(files(), (QStringList{QStringLiteral("zakaz.db"), QStringLiteral("zeni.db")}));

    // Yes for the prices, No for the orders.
    test::recorder().clear();
    test::recorder().setNextAnswer(Dialogs::Answer::Yes);
    test::recorder().setNextAnswer(Dialogs::Answer::No);
    prices::offerParadoxConversions();
    EXPECT_EQ(test::recorder().shown().size(), 2u);
    EXPECT_TRUE(test::recorder().errors().isEmpty());
    EXPECT_EQ(test::readFile(zeni + QStringLiteral(".paradox")), priceBytes);
    EXPECT_EQ(test::readFile(zakaz), orderBytes);
    expectSameRows(tableRows(QStringLiteral("zeni.db")), priceRows());
    db::Table::closeAll();

    // Our own table is asked about no more; a failed conversion is shown and start-up goes on.
    test::recorder().clear();
    QFile::resize(zakaz, 3000);
    test::recorder().setNextAnswer(Dialogs::Answer::Yes);
    prices::offerParadoxConversions();
    ASSERT_EQ(test::recorder().shown().size(), 2u);
    EXPECT_TRUE(test::recorder().shown()[0].text.startsWith(QStringLiteral("Таблица zakaz.db записана")));
    ASSERT_EQ(test::recorder().errors().size(), 1);
    EXPECT_TRUE(test::recorder().errors()[0].startsWith(
        QStringLiteral("Не удалось преобразовать таблицу zakaz.db, исходный файл не изменён\rТаблица Paradox "
                       "zakaz.db обрезана: в файле 3000 байт")));
    EXPECT_EQ(files(), (QStringList{QStringLiteral("zakaz.db"), QStringLiteral("zeni.db"),
                                    QStringLiteral("zeni.db.paradox")}));
}

TEST_F(ParadoxImport, AConvertedPriceListPricesTheKitSheet)
{
    // The prices of the expected turn-kit sheet, as a Paradox price list.
    const QJsonObject o =
        QJsonDocument::fromJson(test::readFile(QStringLiteral(LIR_TEST_DATA "/export/turn.json")))
            .object()[QStringLiteral("prices")]
            .toObject();
    Rows rows;
    for (auto it = o.begin(); it != o.end(); ++it)
        rows.push_back(
            {it.key(), QStringLiteral("Деталь"), it->isNull() ? QVariant() : QVariant(it->toDouble())});
    ASSERT_GT(rows.size(), 5);
    test::writeParadoxTable(work.file(QStringLiteral("zeni.db")), priceFields(), rows);
    test::recorder().setNextAnswer(Dialogs::Answer::Yes);
    prices::offerParadoxConversions();
    ASSERT_TRUE(test::recorder().errors().isEmpty());
    db::Table::open(QStringLiteral("zeni.db"));

    TurnKit turn;
    turn.setFFH(400);
    turn.setFFB(500);
    turn.RashetButtonClick();
    ASSERT_FALSE(turn.lastCalculationFailed());
    const QByteArray sheet = kitSheetHtml(
        KitSheet::fromCalculator(turn), [](const QString& d) { return LookupPrice(d); },
        QLocale(QLocale::Russian));
    test::expectSameDocument(sheet, test::readFile(QStringLiteral(LIR_TEST_DATA "/export/kit_turn.html")));
}
