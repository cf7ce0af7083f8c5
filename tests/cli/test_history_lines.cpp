// The saved orders through lircomplect-kit: a save, the list, the kits of an
// order and reopening it, and numbers that name no saved order.
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

QByteArray raw(KitCli& cli, const char* line)
{
    return cli.processLine(QByteArray(line));
}

using lir::test::send;

QStringList designations(const QJsonObject& order)
{
    QStringList out;
    for (const QJsonValue& e : order.value(QStringLiteral("entries")).toArray())
        out << e.toObject().value(QStringLiteral("Designation")).toString();
    return out;
}

class HistoryLines : public ::testing::Test
{
protected:
    void TearDown() override { lir::db::Table::closeAll(); }
    lir::test::ScopedWorkDir work;
    KitCli cli;
};

} // namespace

TEST_F(HistoryLines, SaveListKitsAndOpenRoundTrip)
{
    // Nothing saved yet: an empty list, and the table is not created by it.
    EXPECT_EQ(raw(cli, R"({"history":"list"})"), QByteArray(R"({"history":[]})"));
    EXPECT_FALSE(lir::db::Table::exists(QStringLiteral("zakaz.db")));

    send(cli, R"({"calculator":"6741","FFH":600,"FFB":500,"add_to_order":true})");
    send(cli, R"({"calculator":"6742","FFH":1400,"FFB":700,"add_to_order":true})");
    send(cli, R"({"calculator":"6741otkid","FFH":500,"FFB":800,"add_to_order":true})");
    const QJsonObject saved = send(cli, R"({"order":"save","description":"Дача"})");
    ASSERT_TRUE(saved.value(QStringLiteral("ok")).toBool());
    const QStringList first = designations(saved.value(QStringLiteral("order")).toObject());
    ASSERT_EQ(first.size(), 3);
    send(cli, R"({"order":"clear"})");
    send(cli, R"({"calculator":"6741otkid","FFH":450,"FFB":900,"add_to_order":true})");
    send(cli, R"({"order":"save","description":"Гараж"})");

    EXPECT_EQ(raw(cli, R"({"history":"list"})"),
              QByteArray(R"({"history":[{"Id":1,"Name":"Дача"},{"Id":5,"Name":"Гараж"}]})"));
    const QString kits = QString::fromUtf8(raw(cli, R"({"history":"kits","id":1})"));
    EXPECT_EQ(kits, QStringLiteral(R"({"kits":[{"Designation":"ЛИР-6741-02МR100","Count":1,"Color":9016},)"
                                   R"({"Designation":"ЛИР-6742-33АМR100","Count":1,"Color":9016},)"
                                   R"({"Designation":"ЛИР-6741-53М100","Count":1,"Color":9016}]})"));
    EXPECT_EQ(first, (QStringList{QStringLiteral("ЛИР-6741-02МR100"), QStringLiteral("ЛИР-6742-33АМR100"),
                                  QStringLiteral("ЛИР-6741-53М100")}));

    // Order 1 replaces the one-kit order in hand, in the kits view.
    const QJsonObject opened = send(cli, R"({"history":"open","id":1})");
    EXPECT_TRUE(opened.value(QStringLiteral("ok")).toBool());
    EXPECT_TRUE(opened.value(QStringLiteral("messages")).toArray().isEmpty());
    const QJsonObject order = opened.value(QStringLiteral("order")).toObject();
    EXPECT_EQ(designations(order), first);
    EXPECT_EQ(order.value(QStringLiteral("view")).toInt(), 2);
    EXPECT_EQ(order.value(QStringLiteral("kits")).toArray().size(), 3);
}

TEST_F(HistoryLines, ANumberThatNamesNoOrderChangesNothing)
{
    EXPECT_EQ(send(cli, R"({"history":"open","id":1})").value(QStringLiteral("error")).toString(),
              QStringLiteral("no saved order with id 1"));
    EXPECT_FALSE(lir::db::Table::exists(QStringLiteral("zakaz.db")));

    send(cli, R"({"calculator":"6741otkid","FFH":500,"FFB":800,"add_to_order":true})");
    send(cli, R"({"calculator":"6741otkid","FFH":450,"FFB":900,"add_to_order":true})");
    send(cli, R"({"order":"save","description":"Дача"})");
    const QByteArray before = raw(cli, R"({"order":"show"})");

    // 2 is a kit row, 4 is past the table; neither is an order.
    for (const char* line : {R"({"history":"open","id":2})", R"({"history":"kits","id":4})",
                             R"({"history":"open","id":0})", R"({"history":"open","id":1.5})",
                             R"({"history":"open"})", R"({"history":"list","id":1})",
                             R"({"history":"delete","id":1})"})
        EXPECT_TRUE(send(cli, line).contains(QStringLiteral("error"))) << line;
    EXPECT_EQ(send(cli, R"({"history":"kits","id":2})").value(QStringLiteral("error")).toString(),
              QStringLiteral("no saved order with id 2"));
    EXPECT_EQ(raw(cli, R"({"order":"show"})"), before);
}
