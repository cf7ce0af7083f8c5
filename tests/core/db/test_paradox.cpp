// Reading Paradox tables: values and empty fields of every kind carried over,
// and files that are cut short or damaged refused with a clear message.
#include "core/base/error.h"
#include "core/db/paradox.h"
#include "core/db/storage.h"
#include "support/paradoxfixture.h"
#include "support/testsupport.h"

#include <QFile>

#include <random>

#include <gtest/gtest.h>

using namespace lir;
namespace px = lir::db::paradox;
using test::ParadoxField;

namespace {

// 150 bytes a record: pxlib puts 109 records in each 16 KB block after a 2 KB header.
QVector<ParadoxField> priceFields()
{
    return {test::pxAlpha(QStringLiteral("oboznashenie"), 40), test::pxAlpha(QStringLiteral("nazvanie"), 100),
            test::pxNumber(QStringLiteral("zena")), test::pxShort(QStringLiteral("kol"))};
}

QVector<QVector<QVariant>> priceRows(int n)
{
    QVector<QVector<QVariant>> rows;
    for (int i = 0; i < n; ++i)
        rows.push_back({QStringLiteral("6742.%1").arg(i), QStringLiteral("Петля №%1").arg(i), i * 0.5, i});
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

void patch(const QString& path, qint64 at, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.seek(at));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

class ParadoxReader : public ::testing::Test
{
protected:
    // A price table of 300 rows in three blocks (109, 109, 82 records).
    QString priceTable()
    {
        const QString path = work.file(QStringLiteral("t.db"));
        test::writeParadoxTable(path, priceFields(), priceRows(300));
        const QByteArray head = test::readFile(path).left(6);
        EXPECT_EQ(head.toHex(), QByteArray("960000080210")) << "record 150, header 2048, 16 KB blocks";
        return path;
    }
    test::ScopedWorkDir work;
};

} // namespace

TEST_F(ParadoxReader, ValuesAndEmptyFieldsOfEveryKind)
{
    const QVector<ParadoxField> fields = {
        test::pxAlpha(QStringLiteral("Текст"), 20), test::pxShort(QStringLiteral("s")),
        test::pxLong(QStringLiteral("l")),          {QStringLiteral("a"), pxfAutoInc, 4},
        test::pxNumber(QStringLiteral("n")),        {QStringLiteral("c"), pxfCurrency, 8},
        {QStringLiteral("b"), pxfBCD, 17, 2},       {QStringLiteral("g"), pxfLogical, 1},
        {QStringLiteral("d"), pxfDate, 4},          {QStringLiteral("t"), pxfTime, 4},
        {QStringLiteral("ts"), pxfTimestamp, 8}};
    const QString path = work.file(QStringLiteral("kinds.db"));
    // Zero is a value, not an empty field: a zero number, false and midnight are kept.
    test::writeParadoxTable(path, fields,
                            {{QStringLiteral("Петля ЛИР"), 0, 0, 1, 0.0, 0.0, QStringLiteral("0.00"), false,
                              731702, 0, 63240000000000.0},
                             {},
                             {QStringLiteral("x"), -5, -70000, 2, -1.25, 12.5, QStringLiteral("-12.34"), true,
                              731703, 3601500, 63240000000000.0}});

    ASSERT_TRUE(px::isParadoxTable(path));
    const px::Table t = px::readTable(path);
    ASSERT_EQ(t.fields.size(), 11);
    EXPECT_EQ(t.fields[0].name, QStringLiteral("Текст"));
    EXPECT_EQ(t.fields[0].type, px::FieldType::Alpha);
    EXPECT_EQ(t.fields[0].length, 20);
    EXPECT_EQ(t.fields[6].type, px::FieldType::Bcd);
    EXPECT_EQ(t.fields[10].type, px::FieldType::Timestamp);
    ASSERT_EQ(t.rows.size(), 3);

    const QVector<QVariant> zero = t.rows[0];
    EXPECT_EQ(zero[0], QVariant(QStringLiteral("Петля ЛИР")));
    EXPECT_EQ(zero[1], QVariant(0LL));
    EXPECT_EQ(zero[2], QVariant(0LL));
    EXPECT_EQ(zero[3], QVariant(1LL));
    EXPECT_EQ(zero[4], QVariant(0.0));
    EXPECT_EQ(zero[5], QVariant(0.0));
    EXPECT_EQ(zero[6], QVariant(0.0));
    EXPECT_EQ(zero[7], QVariant(false));
    EXPECT_EQ(zero[8], QVariant(QStringLiteral("2004-05-01")));
    EXPECT_EQ(zero[9], QVariant(QStringLiteral("00:00:00")));
    EXPECT_EQ(zero[10], QVariant(QStringLiteral("2004-12-29 10:40:00")));

    // pxlib reads an empty Long as -2147483648 and an empty Short as 0; both stay empty.
    for (int i = 0; i < 11; ++i)
        EXPECT_FALSE(t.rows[1][i].isValid()) << "field " << i;

    const QVector<QVariant> other = t.rows[2];
    EXPECT_EQ(other[1], QVariant(-5LL));
    EXPECT_EQ(other[2], QVariant(-70000LL));
    EXPECT_EQ(other[4], QVariant(-1.25));
    EXPECT_EQ(other[5], QVariant(12.5));
    EXPECT_EQ(other[6], QVariant(-12.34));
    EXPECT_EQ(other[7], QVariant(true));
    EXPECT_EQ(other[8], QVariant(QStringLiteral("2004-05-02")));
    EXPECT_EQ(other[9], QVariant(QStringLiteral("01:00:01")));
}

TEST_F(ParadoxReader, TextsFillTheirFieldOrEndAtTheFirstZeroByte)
{
    const QString path = work.file(QStringLiteral("t.db"));
    const QString full = QStringLiteral("ЛИР-6742-01ДМR.%1").arg(QString(25, u'Ж'));
    ASSERT_EQ(full.size(), 40);
    test::writeParadoxTable(path, priceFields(),
                            {{full, QStringLiteral(" Петля "), QVariant(), QVariant()},
                             {QStringLiteral("A"), QString(), 1.0, 0}});
    const px::Table t = px::readTable(path);
    EXPECT_EQ(t.rows[0][0], QVariant(full));
    EXPECT_EQ(t.rows[0][1], QVariant(QStringLiteral(" Петля "))) << "blanks are kept";
    EXPECT_FALSE(t.rows[0][2].isValid());
    EXPECT_FALSE(t.rows[1][1].isValid());
}

TEST_F(ParadoxReader, TheHeaderTellsAParadoxTableNotTheName)
{
    LIR_FILES_ONLY();
    const QString path = priceTable();
    EXPECT_TRUE(px::isParadoxTable(path));
    EXPECT_EQ(px::readTable(path).rows, priceRows(300));

    db::setNetFileDir(work.path());
    db::Table::create(QStringLiteral("zeni.db"), {{QStringLiteral("x"), db::FieldDef::Type::Text, 10}});
    EXPECT_FALSE(px::isParadoxTable(work.file(QStringLiteral("zeni.db"))));
    db::setNetFileDir(QString());
    EXPECT_EQ(message([&] { px::readTable(work.file(QStringLiteral("zeni.db"))); }),
              QStringLiteral("Файл zeni.db не является таблицей Paradox"));

    QFile text(work.file(QStringLiteral("text.db")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write(QByteArray(200, 'a'));
    text.close();
    EXPECT_FALSE(px::isParadoxTable(text.fileName()));
    EXPECT_FALSE(px::isParadoxTable(work.file(QStringLiteral("missing.db"))));
    // Too short for a header.
    QFile::resize(path, 40);
    EXPECT_FALSE(px::isParadoxTable(path));
}

TEST_F(ParadoxReader, AnEncryptedTableIsRefused)
{
    const QString path = work.file(QStringLiteral("t.db"));
    test::writeParadoxTable(path, priceFields(), priceRows(250), "secret");
    ASSERT_NE(test::readFile(path).mid(0x5C, 4), QByteArray(4, '\0')) << "the data header holds the key";
    EXPECT_TRUE(px::isParadoxTable(path));
    EXPECT_EQ(message([&] { px::readTable(path); }),
              QStringLiteral(
                  "Таблица Paradox t.db защищена паролем: снимите пароль в программе, которой она записана"));
}

TEST_F(ParadoxReader, ACutOrDamagedFileIsRefusedWithWhatIsWrong)
{
    const QString path = priceTable();
    const QByteArray good = test::readFile(path);
    auto restore = [&] {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(good);
    };

    // Cut in the middle of the second block: the records of the whole block are needed.
    QFile::resize(path, 2048 + 16384 + 100);
    EXPECT_EQ(message([&] { px::readTable(path); }),
              QStringLiteral(
                  "Таблица Paradox t.db обрезана: в файле 18532 байт, а его записям нужно не меньше 34788"));
    // Cut right after the header.
    QFile::resize(path, 2048);
    EXPECT_EQ(message([&] { px::readTable(path); }),
              QStringLiteral(
                  "Таблица Paradox t.db обрезана: в файле 2048 байт, а его записям нужно не меньше 2054"));
    QFile::resize(path, 1000);
    EXPECT_EQ(message([&] { px::readTable(path); }),
              QStringLiteral(
                  "Таблица Paradox t.db обрезана: в файле 1000 байт, а его записям нужно не меньше 2048"));

    restore();
    patch(path, 0x06, QByteArray::fromHex("2d010000")); // 301 records in the header
    EXPECT_EQ(
        message([&] { px::readTable(path); }),
        QStringLiteral("Таблица Paradox t.db повреждена: в блоках данных 300 записей, а в заголовке 301"));

    restore();
    patch(path, 2048, QByteArray::fromHex("0100")); // block 1 goes on to itself
    EXPECT_EQ(message([&] { px::readTable(path); }),
              QStringLiteral("Таблица Paradox t.db повреждена: цепочка блоков данных нарушена на блоке 1"));

    restore();
    patch(path, 2048, QByteArray::fromHex("0900")); // past the last block of the file
    EXPECT_EQ(message([&] { px::readTable(path); }),
              QStringLiteral("Таблица Paradox t.db повреждена: цепочка блоков данных нарушена на блоке 9"));

    restore();
    patch(path, 2048 + 16384 + 4, QByteArray::fromHex("0700")); // no whole number of records
    EXPECT_EQ(message([&] { px::readTable(path); }),
              QStringLiteral("Таблица Paradox t.db повреждена: неверный размер данных в блоке 2"));
    patch(path, 2048 + 16384 + 4, QByteArray::fromHex("7440")); // more than a block holds
    EXPECT_EQ(message([&] { px::readTable(path); }),
              QStringLiteral("Таблица Paradox t.db повреждена: неверный размер данных в блоке 2"));

    restore();
    patch(path, 0x78, QByteArray::fromHex("07")); // the first field's type
    EXPECT_EQ(message([&] { px::readTable(path); }),
              QStringLiteral("Таблица Paradox t.db повреждена: неверное описание поля 1 (тип 7, длина 40)"));

    restore();
    patch(path, 0x79, QByteArray::fromHex("29")); // the first field one byte longer
    EXPECT_EQ(message([&] { px::readTable(path); }),
              QStringLiteral(
                  "Таблица Paradox t.db повреждена: длина записи 150 байт не равна сумме длин полей 151"));

    restore();
    // The old place of the key no longer holds its filler: pxlib would decrypt with it.
    patch(path, 0x26, QByteArray::fromHex("1234"));
    EXPECT_EQ(message([&] { px::readTable(path); }),
              QStringLiteral(
                  "Таблица Paradox t.db защищена паролем: снимите пароль в программе, которой она записана"));

    restore();
    patch(path, 0, QByteArrayLiteral("not a table at all"));
    EXPECT_EQ(message([&] { px::readTable(path); }),
              QStringLiteral("Файл t.db не является таблицей Paradox"));
}

TEST_F(ParadoxReader, AValueThatPxlibCannotReadNamesItsFieldAndRecord)
{
    const QString path = work.file(QStringLiteral("bcd.db"));
    test::writeParadoxTable(
        path, {test::pxAlpha(QStringLiteral("oboznashenie"), 20), {QStringLiteral("zena"), pxfBCD, 17, 2}},
        {{QStringLiteral("6742.01"), QStringLiteral("12.50")},
         {QStringLiteral("6742.02"), QStringLiteral("3.00")}});
    ASSERT_EQ(px::readTable(path).rows[1][1], QVariant(3.0));
    // Digits of the second record that are no digits.
    patch(path, 2048 + 6 + 37 + 20 + 2, QByteArray::fromHex("abcdef"));
    EXPECT_EQ(
        message([&] { px::readTable(path); }),
        QStringLiteral("Таблица Paradox bcd.db повреждена: не удалось прочитать поле zena записи 2: значение "
                       "типа BCD не читается"));
}

TEST_F(ParadoxReader, MemoAndBinaryFieldsAreNotCarriedOver)
{
    const QString path = work.file(QStringLiteral("memo.db"));
    test::writeParadoxTable(
        path,
        {test::pxAlpha(QStringLiteral("oboznashenie"), 20), {QStringLiteral("Примечание"), pxfMemoBLOb, 11}},
        {{QStringLiteral("6742.01"), QVariant()}});
    EXPECT_EQ(
        message([&] { px::readTable(path); }),
        QStringLiteral("Поле Примечание таблицы Paradox memo.db имеет тип Memo, который не переносится"));
}

TEST_F(ParadoxReader, DamagedBytesAnywhereGiveTheRowsOrAnErrorNamingTheFile)
{
    const QString path = priceTable();
    const QByteArray good = test::readFile(path);
    // A fixed sweep, every other round in the header, where pxlib is most
    // trusting (a key it would decrypt with, a chain it would follow).
    std::mt19937 random(20);
    int refused = 0;
    for (int round = 0; round < 400; ++round) {
        QByteArray bad = good;
        const int spot = round % 2 ? int(random() % 0x100) : int(random() % bad.size());
        for (int i = 0, n = 1 + int(random() % 4); i < n; ++i)
            bad[(spot + i) % bad.size()] = char(random());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bad);
        f.close();
        try {
            const px::Table t = px::readTable(path);
            for (const QVector<QVariant>& row : t.rows)
                ASSERT_EQ(row.size(), t.fields.size()) << "round " << round;
        } catch (const Error& e) {
            ++refused;
            EXPECT_TRUE(e.message().section(u'\r', 0, 0).contains(QStringLiteral("t.db")))
                << e.message().toStdString();
        }
    }
    EXPECT_GT(refused, 0);
}
