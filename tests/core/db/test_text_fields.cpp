// What a text field keeps of a text: characters as the user sees them, and
// never another character than the one given.
#include "core/base/error.h"
#include "core/db/storage.h"
#include "support/testsupport.h"

using lir::db::FieldDef;
using lir::db::Table;

namespace {

class TextFields : public ::testing::Test
{
protected:
    void TearDown() override { Table::closeAll(); }
    // The text the field Name (100 characters) gives back after a write.
    QString stored(const QString& text)
    {
        if (!Table::exists(QStringLiteral("zakaz.db")))
            Table::create(QStringLiteral("zakaz.db"), {{QStringLiteral("Name"), FieldDef::Type::Text, 100}});
        Table& t = Table::open(QStringLiteral("zakaz.db"));
        t.insert();
        t.setValue(QStringLiteral("Name"), text);
        t.post();
        const auto rows = t.query(QStringLiteral(R"(SELECT "Name" FROM zakaz ORDER BY rowid DESC LIMIT 1)"));
        return rows.value(0).value(0).toString();
    }
    lir::test::ScopedWorkDir m_dir;
};

} // namespace

TEST_F(TextFields, ALongTextKeepsAHundredCharactersAsTheUserSeesThem)
{
    const QString smile = QStringLiteral("\U0001F600"); // one character, two UTF-16 units
    const QString a = QString(99, u'a');
    EXPECT_EQ(stored(a + smile), a + smile);
    EXPECT_EQ(stored(QString(100, u'я') + u'!'), QString(100, u'я'));
    EXPECT_EQ(stored(smile.repeated(101)), smile.repeated(100));
    EXPECT_EQ(stored(a + smile + smile), a + smile);
    EXPECT_EQ(stored(QString(1 << 20, u'ж')), QString(100, u'ж'));
    // "й" typed as и and its breve is one character on the screen: kept whole or not at all.
    const QString shortI = QStringLiteral("и\u0306");
    EXPECT_EQ(stored(a + shortI), a);
    EXPECT_EQ(stored(QString(98, u'a') + shortI + u'b'), QString(98, u'a') + shortI);
}

TEST_F(TextFields, HalfASurrogatePairIsKeptAsTheReplacementCharacterNeverAsAnother)
{
    EXPECT_EQ(stored(QString(QChar(0xD800)) + QStringLiteral(" x")), QStringLiteral("\uFFFD x"));
    EXPECT_EQ(stored(QStringLiteral("a") + QChar(0xDC00) + QChar(0xD800)), QStringLiteral("a\uFFFD\uFFFD"));
    EXPECT_EQ(stored(QString(99, u'a') + QChar(0xD83D)), QString(99, u'a') + QChar(0xFFFD));
}
