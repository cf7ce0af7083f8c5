// Lines that once wrote the wrong thing: a NUL in a path, half a surrogate
// pair, a description longer than the table keeps, a lock file left empty.
#include "cli/kit/kitcli.h"
#include "kitlines.h"
#include "core/db/storage.h"
#include "support/testsupport.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using lir::cli::KitCli;

namespace {

using lir::test::send;

QStringList messages(const QJsonObject& answer)
{
    QStringList out;
    for (const QJsonValue& x : answer.value(QStringLiteral("messages")).toArray())
        out << x.toString();
    return out;
}

QStringList savedNames(KitCli& cli)
{
    QStringList out;
    for (const QJsonValue& o : send(cli, R"({"history":"list"})").value(QStringLiteral("history")).toArray())
        out << o.toObject().value(QStringLiteral("Name")).toString();
    return out;
}

class FaultLines : public ::testing::Test
{
protected:
    void SetUp() override { send(cli, R"({"calculator":"6741otkid","FFH":500,"FFB":800,"add_to_order":true})"); }
    void TearDown() override { lir::db::Table::closeAll(); }
    lir::test::ScopedWorkDir work;
    KitCli cli;
};

} // namespace

TEST_F(FaultLines, APathWithANulIsAnErrorLineAndWritesNothing)
{
    const QByteArray database = QByteArray("SQLite format 3\0", 16) + QByteArray(1008, '\0');
    QFile f(work.file(QStringLiteral("dbA1b2C3")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(database) == database.size());
    f.close();
    for (const char* line : {R"({"order":"export_html","view":2,"markup":"0","path":"dbA1b2C3\u0000.html"})",
                             R"({"order":"export_xlsx","view":1,"markup":"5","path":"dbA1b2C3\u0000"})",
                             R"({"calculator":"6741otkid","export_html":"dbA1b2C3\u0000.html"})"}) {
        const QJsonObject o = send(cli, line);
        EXPECT_TRUE(o.value(QStringLiteral("error")).toString().endsWith(QStringLiteral("must be a file path without a NUL character")))
            << line;
    }
    EXPECT_EQ(lir::test::readFile(work.file(QStringLiteral("dbA1b2C3"))), database);
    EXPECT_FALSE(QFile::exists(work.file(QStringLiteral("dbA1b2C3.html"))));
}

TEST_F(FaultLines, HalfASurrogatePairIsAnErrorLineAWholeOneIsText)
{
    for (const char* line : {R"({"order":"save","description":"\ud800 x"})", R"({"order":"save","description":"x\udc00"})",
                             R"({"order":"save","description":"\ud800\u0041"})", R"({"order\udfff":"save"})",
                             R"({"calculator":"6741","NazvSystemProfiles":["\ud83d"]})"}) {
        EXPECT_EQ(send(cli, line).value(QStringLiteral("error")).toString(),
                  QStringLiteral("not valid Unicode: a text holds half of a surrogate pair"))
            << line;
    }
    EXPECT_FALSE(lir::db::Table::exists(QStringLiteral("zakaz.db")));
    EXPECT_TRUE(send(cli, R"({"order":"save","description":"\ud83d\ude00 x"})").value(QStringLiteral("ok")).toBool());
    EXPECT_EQ(savedNames(cli), QStringList{QStringLiteral("\U0001F600 x")});
}

TEST_F(FaultLines, ALongDescriptionIsSavedShortenedAndTheAnswerSaysSo)
{
    const QString smile = QStringLiteral("\U0001F600");
    const QString hundred = QString(99, u'ы') + smile;
    auto save = [&](const QString& description) {
        const QByteArray line = R"({"order":"save","description":)"
                                + QJsonDocument(QJsonArray{description}).toJson(QJsonDocument::Compact).mid(1).chopped(1) + "}";
        return send(cli, line);
    };
    QJsonObject o = save(hundred);
    EXPECT_TRUE(o.value(QStringLiteral("ok")).toBool());
    EXPECT_EQ(messages(o), QStringList());
    for (const QString& longer : QStringList{hundred + u'!', hundred + smile, QString(1 << 20, u'ж')}) {
        o = save(longer);
        EXPECT_TRUE(o.value(QStringLiteral("ok")).toBool());
        EXPECT_EQ(messages(o), QStringList{QStringLiteral("Описание заказа сокращено до 100 символов.")});
    }
    EXPECT_EQ(savedNames(cli), (QStringList{hundred, hundred, hundred, QString(100, u'ж')}));
}

TEST_F(FaultLines, AnEmptyLockFileLeftByAKilledRunIsTakenOver)
{
    QFile lock(work.file(QStringLiteral("LIRComplect.lock")));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.close();
    const QJsonObject o = send(cli, R"({"order":"save","description":"Дача"})");
    EXPECT_TRUE(o.value(QStringLiteral("ok")).toBool()) << QJsonDocument(o).toJson().constData();
    EXPECT_EQ(savedNames(cli), QStringList{QStringLiteral("Дача")});
    EXPECT_FALSE(lock.exists()); // released after the save
}
