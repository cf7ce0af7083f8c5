// The current order of lircomplect-kit: the two calculator keys, the order
// lines, and the order table that only a save creates.
#include "cli/kit/kitcli.h"
#include "kitlines.h"
#include "core/base/codec.h"
#include "core/base/workdirlock.h"
#include "core/db/storage.h"
#include "support/testsupport.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using lir::cli::KitCli;

namespace {

using lir::test::send;

QJsonObject orderOf(const QJsonObject& answer)
{
    return answer.value(QStringLiteral("order")).toObject();
}

QStringList strings(const QJsonValue& v)
{
    QStringList out;
    for (const QJsonValue& x : v.toArray())
        out << x.toString();
    return out;
}

// Column c of every row of a grid of the answer.
QStringList column(const QJsonObject& order, const char* grid, int c)
{
    QStringList out;
    for (const QJsonValue& row : order.value(QLatin1String(grid)).toArray())
        out << row.toArray().at(c).toString();
    return out;
}

class OrderLines : public ::testing::Test
{
protected:
    void TearDown() override { lir::db::Table::closeAll(); }
    lir::test::ScopedWorkDir work;
    KitCli cli;
};

} // namespace

TEST_F(OrderLines, AddToOrderPressesTheButtonOnlyWhileItIsVisible)
{
    QJsonObject o = send(cli, R"({"calculator":"6741","FFH":600,"FFB":500,"add_to_order":true})");
    EXPECT_TRUE(strings(o.value(QStringLiteral("ignored"))).isEmpty());
    QJsonObject order = orderOf(o);
    EXPECT_EQ(order.keys(), (QStringList{QStringLiteral("components"), QStringLiteral("customer"),
                                         QStringLiteral("description"), QStringLiteral("edited_entry"),
                                         QStringLiteral("entries"), QStringLiteral("kits"),
                                         QStringLiteral("kits_and_components"), QStringLiteral("markup"),
                                         QStringLiteral("markup_source"), QStringLiteral("view")}));
    const QByteArray raw = cli.processLine(R"({"order":"show"})");
    EXPECT_TRUE(raw.startsWith(R"({"ok":true,"messages":[],"order":{"entries":[{"Type":"ПФПВХ без прижимов","Designation":"ЛИР-6741-02МR100","Profil":"ARtec PAD","Dop_komplekt":"","Count":1,"Color":9016,"FFH":600,"FFB":500,"GH":300}],"components":[["6742.50.00-02")"))
        << raw.constData();
    EXPECT_EQ(column(order, "kits", 0), QStringList{QStringLiteral("ЛИР-6741-02МR100")});
    EXPECT_EQ(order.value(QStringLiteral("kits_and_components")).toArray().size(), 16);
    EXPECT_EQ(order.value(QStringLiteral("edited_entry")).toInt(), -1);

    // "В ЗАКАЗ" hid the result: without a calculation the button is not there.
    o = send(cli, R"({"calculator":"6741","calculate":false,"add_to_order":true,"save_changes":true})");
    EXPECT_EQ(strings(o.value(QStringLiteral("ignored"))),
              (QStringList{QStringLiteral("add_to_order"), QStringLiteral("save_changes")}));
    EXPECT_EQ(orderOf(o).value(QStringLiteral("entries")).toArray().size(), 1);
    // Lines without the keys answer as before.
    EXPECT_FALSE(send(cli, R"({"calculator":"6741","calculate":false})").contains(QStringLiteral("order")));
}

TEST_F(OrderLines, EditingDeletingAndTypingWorkOnTheKitsGridRows)
{
    send(cli, R"({"calculator":"6741","FFH":600,"FFB":500,"add_to_order":true})");
    send(cli, R"({"calculator":"6742","FFH":1400,"FFB":700,"add_to_order":true})");
    send(cli, R"({"calculator":"6741otkid","FFH":500,"FFB":800,"add_to_order":true})");

    QJsonObject o = send(cli, R"({"order":"edit","row":2})");
    EXPECT_TRUE(o.value(QStringLiteral("ok")).toBool());
    EXPECT_EQ(orderOf(o).value(QStringLiteral("edited_entry")).toInt(), 1);
    o = send(cli, R"({"calculator":"6742","FFH":1600,"save_changes":true})");
    EXPECT_TRUE(strings(o.value(QStringLiteral("ignored"))).isEmpty());
    QJsonObject order = orderOf(o);
    EXPECT_EQ(column(order, "kits", 0),
              (QStringList{QStringLiteral("ЛИР-6741-02МR100"), QStringLiteral("ЛИР-6742-33МR100"),
                           QStringLiteral("ЛИР-6741-53М100")}));
    EXPECT_EQ(order.value(QStringLiteral("edited_entry")).toInt(), -1);

    o = send(cli, R"({"order":"type","view":2,"row":1,"text":"12"})");
    EXPECT_TRUE(o.value(QStringLiteral("ok")).toBool());
    EXPECT_EQ(orderOf(o).value(QStringLiteral("view")).toInt(), 2);
    EXPECT_EQ(column(orderOf(o), "kits", 1).first(), QStringLiteral("12"));
    // The view buttons stay disabled while a grid takes typing.
    o = send(cli, R"({"order":"view","view":1})");
    EXPECT_FALSE(o.value(QStringLiteral("ok")).toBool());
    EXPECT_FALSE(send(cli, R"({"order":"type","view":3,"row":1,"text":"5"})").value(QStringLiteral("ok")).toBool());

    o = send(cli, R"({"order":"delete","row":1})");
    EXPECT_TRUE(o.value(QStringLiteral("ok")).toBool());
    EXPECT_EQ(column(orderOf(o), "kits", 0),
              (QStringList{QStringLiteral("ЛИР-6742-33МR100"), QStringLiteral("ЛИР-6741-53М100")}));
    EXPECT_TRUE(send(cli, R"({"order":"view","view":1})").value(QStringLiteral("ok")).toBool());
    // The empty last row stands for no kit.
    EXPECT_FALSE(send(cli, R"({"order":"delete","row":3})").value(QStringLiteral("ok")).toBool());

    o = send(cli, R"({"order":"clear"})");
    EXPECT_TRUE(orderOf(o).value(QStringLiteral("entries")).toArray().isEmpty());
    EXPECT_TRUE(orderOf(o).value(QStringLiteral("kits")).toArray().isEmpty());
}

TEST_F(OrderLines, ChangedInputsAreCalculatedBeforeTheButtonsAndTheSheetsAct)
{
    lir::test::useDeliveredPriceTable(work.path());
    const QStringList tooLow{QStringLiteral("Неправильно задана высота для комплекта без верхнего и нижнего прижимов!\r"
                                            "Измените высоту в интервале 300 мм - 2300 мм")};
    send(cli, R"({"calculator":"6741","FFH":600,"FFB":500})");
    QJsonObject o = send(cli, R"({"calculator":"6741","FFH":1900,"calculate":false,"export_html":"changed.html","add_to_order":true})");
    EXPECT_TRUE(o.value(QStringLiteral("ok")).toBool());
    EXPECT_EQ(o.value(QStringLiteral("KitDesignation")).toString(), QStringLiteral("ЛИР-6741-06МR100"));
    EXPECT_EQ(column(orderOf(o), "kits", 0), QStringList{QStringLiteral("ЛИР-6741-06МR100")});
    EXPECT_EQ(orderOf(o).value(QStringLiteral("entries")).toArray().at(0).toObject().value(QStringLiteral("FFH")).toInt(), 1900);
    EXPECT_TRUE(lir::fromWindows1251(lir::test::readFile(work.file(QStringLiteral("changed.html"))))
                    .contains(QStringLiteral("ЛИР-6741-06МR100")));

    // A change that fails the checks: its message once, no sheet, nothing added.
    send(cli, R"({"calculator":"6741","FFH":600})");
    o = send(cli, R"({"calculator":"6741","FFH":100,"calculate":false,"export_xlsx":"failed.xlsx","add_to_order":true})");
    EXPECT_FALSE(o.value(QStringLiteral("ok")).toBool());
    EXPECT_EQ(strings(o.value(QStringLiteral("messages"))), tooLow);
    EXPECT_EQ(strings(o.value(QStringLiteral("ignored"))), QStringList{QStringLiteral("add_to_order")});
    EXPECT_FALSE(QFile::exists(work.file(QStringLiteral("failed.xlsx"))));
    EXPECT_EQ(orderOf(o).value(QStringLiteral("entries")).toArray().size(), 1);

    // "Сохранить изменения" likewise: the entry stays open and unchanged.
    send(cli, R"({"order":"edit","row":1})");
    o = send(cli, R"({"calculator":"6741","FFH":100,"calculate":false,"save_changes":true})");
    EXPECT_FALSE(o.value(QStringLiteral("ok")).toBool());
    EXPECT_EQ(strings(o.value(QStringLiteral("messages"))), tooLow);
    EXPECT_EQ(orderOf(o).value(QStringLiteral("entries")).toArray().at(0).toObject().value(QStringLiteral("FFH")).toInt(), 1900);
    EXPECT_EQ(orderOf(o).value(QStringLiteral("edited_entry")).toInt(), 0);
    o = send(cli, R"({"calculator":"6741","FFH":600,"calculate":false,"save_changes":true})");
    EXPECT_TRUE(o.value(QStringLiteral("ok")).toBool());
    EXPECT_EQ(column(orderOf(o), "kits", 0), QStringList{QStringLiteral("ЛИР-6741-02МR100")});
    EXPECT_EQ(orderOf(o).value(QStringLiteral("edited_entry")).toInt(), -1);
}

TEST_F(OrderLines, OnlyASaveThatWritesCreatesTheOrderTable)
{
    QJsonObject o = send(cli, R"({"order":"save","description":"Дача"})");
    EXPECT_FALSE(o.value(QStringLiteral("ok")).toBool());
    EXPECT_EQ(strings(o.value(QStringLiteral("messages"))), QStringList{QStringLiteral("Нет данных для сохранения!")});
    send(cli, R"({"calculator":"6741otkid","FFH":500,"FFB":800,"add_to_order":true})");
    o = send(cli, R"({"order":"save","description":""})");
    EXPECT_EQ(strings(o.value(QStringLiteral("messages"))), QStringList{QStringLiteral("Не введено описание заказа!")});
    EXPECT_FALSE(lir::db::Table::exists(QStringLiteral("zakaz.db")));

    {
        // The program with windows runs in this folder: the save waits for it, then gives up.
        lir::WorkDirLock running(work.path());
        ASSERT_TRUE(running.tryLock());
        o = send(cli, R"({"order":"save","description":"Дача"})");
        EXPECT_FALSE(o.value(QStringLiteral("ok")).toBool());
        const QStringList messages = strings(o.value(QStringLiteral("messages")));
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages.first().startsWith(QStringLiteral("Таблицы в папке "))) << messages.first().toStdString();
        EXPECT_FALSE(lir::db::Table::exists(QStringLiteral("zakaz.db")));
    }
    o = send(cli, R"({"order":"save","description":"Дача"})");
    EXPECT_TRUE(o.value(QStringLiteral("ok")).toBool());
    EXPECT_EQ(orderOf(o).value(QStringLiteral("description")).toString(), QStringLiteral("Дача"));
    ASSERT_TRUE(lir::db::Table::exists(QStringLiteral("zakaz.db")));
    EXPECT_EQ(lir::db::Table::open(QStringLiteral("zakaz.db")).rowCount(), 2);
}

TEST_F(OrderLines, BadOrderLinesAreRefusedWithoutApplyingAnything)
{
    send(cli, R"({"calculator":"6741otkid","FFH":500,"FFB":800,"add_to_order":true})");
    for (const char* line : {R"({"order":"print"})", R"({"order":3})", R"({"order":"show","row":1})",
                             R"({"order":"delete"})", R"({"order":"delete","row":0})", R"({"order":"delete","row":3})",
                             R"({"order":"edit","row":1.5})", R"({"order":"view","view":4})",
                             R"({"order":"type","view":1,"row":1})", R"({"order":"type","view":1,"row":1,"text":5})",
                             R"({"order":"save","description":null})",
                             R"({"calculator":"6741","add_to_order":"yes"})"}) {
        const QJsonObject o = send(cli, line);
        EXPECT_FALSE(o.value(QStringLiteral("error")).toString().isEmpty()) << line;
    }
    EXPECT_EQ(cli.order().EntryCount(), 1);
}

TEST_F(OrderLines, TheExportLinesWriteTheSummaryOfAView)
{
    lir::test::useDeliveredPriceTable(work.path());
    send(cli, R"({"calculator":"6741","FFH":600,"FFB":500,"add_to_order":true})");
    const QString kit = cli.order().StringGrid2().cell(1, 0);

    QJsonObject o = send(cli, R"({"order":"export_html","view":2,"markup":"10","path":"kits.html"})");
    EXPECT_TRUE(o.value(QStringLiteral("ok")).toBool());
    EXPECT_TRUE(strings(o.value(QStringLiteral("messages"))).isEmpty());
    EXPECT_EQ(orderOf(o).value(QStringLiteral("view")).toInt(), 1); // the shown view stays
    const QString doc = lir::fromWindows1251(lir::test::readFile(work.file(QStringLiteral("kits.html"))));
    EXPECT_TRUE(doc.startsWith(QStringLiteral("<html>\r\n<head>\r\n")));
    EXPECT_TRUE(doc.contains(QStringLiteral("  <td class=xl27 style='border-top:none'>") + kit + QStringLiteral("</td>   \r\n")));
    EXPECT_TRUE(doc.contains(QStringLiteral(">рассчитано с наценкой 10%</td>")));
    EXPECT_EQ(cli.order().markup(), QStringLiteral("10"));

    o = send(cli, R"({"order":"export_xlsx","view":3,"markup":"0","path":"all.xlsx"})");
    EXPECT_TRUE(o.value(QStringLiteral("ok")).toBool());
    EXPECT_TRUE(lir::test::readFile(work.file(QStringLiteral("all.xlsx"))).startsWith("PK"));

    // A bad markup writes nothing and says why.
    o = send(cli, R"({"order":"export_html","view":1,"markup":"10%","path":"bad.html"})");
    EXPECT_FALSE(o.value(QStringLiteral("ok")).toBool());
    EXPECT_EQ(strings(o.value(QStringLiteral("messages"))), QStringList{QStringLiteral("'10%' не является допустимым целым числом")});
    o = send(cli, R"({"order":"export_xlsx","view":1,"markup":"-101","path":"bad.xlsx"})");
    EXPECT_FALSE(o.value(QStringLiteral("ok")).toBool());
    EXPECT_EQ(strings(o.value(QStringLiteral("messages"))).size(), 1);
    EXPECT_FALSE(QFile::exists(work.file(QStringLiteral("bad.html"))));
    EXPECT_FALSE(QFile::exists(work.file(QStringLiteral("bad.xlsx"))));

    for (const char* line : {R"({"order":"export_html","view":1,"markup":"0"})",
                             R"({"order":"export_html","view":4,"markup":"0","path":"x.html"})",
                             R"({"order":"export_xlsx","view":1,"markup":0,"path":"x.xlsx"})",
                             R"({"order":"export_xlsx","view":1,"markup":"0","path":""})"})
        EXPECT_FALSE(send(cli, line).value(QStringLiteral("error")).toString().isEmpty()) << line;
}
