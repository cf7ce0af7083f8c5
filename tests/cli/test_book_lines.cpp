// The order book through lircomplect-kit: customers, the current order's
// customer and its markup, searching saved orders, changing, copying and
// archiving them, and every refused value leaving the tables as they were.
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

QString error(KitCli& cli, const QByteArray& line)
{
    return send(cli, line).value(QStringLiteral("error")).toString();
}

QList<int> orderIds(const QJsonObject& answer)
{
    QList<int> ids;
    for (const QJsonValue& o : answer.value(QStringLiteral("orders")).toArray())
        ids << o.toObject().value(QStringLiteral("Id")).toInt();
    return ids;
}

class BookLines : public ::testing::Test
{
protected:
    void TearDown() override { lir::db::Table::closeAll(); }

    // Saves an order of one turn kit (FFH given) for the customer (0: none).
    int saveOrder(int customer, const QByteArray& description, int ffh)
    {
        send(cli, R"({"order":"clear"})");
        send(cli, R"({"order":"customer","id":)" + QByteArray::number(customer) + "}");
        send(cli, R"({"calculator":"6741","FFH":)" + QByteArray::number(ffh) + R"(,"FFB":500,"add_to_order":true})");
        const QJsonObject saved = send(cli, R"({"order":"save","description":")" + description + R"("})");
        EXPECT_TRUE(saved.value(QStringLiteral("ok")).toBool());
        const QJsonArray all = send(cli, R"({"history":"search"})").value(QStringLiteral("orders")).toArray();
        return all.last().toObject().value(QStringLiteral("Id")).toInt();
    }

    lir::test::ScopedWorkDir work;
    KitCli cli;
};

} // namespace

TEST_F(BookLines, CustomersAreAddedListedAndEditedAndBadValuesAreRefused)
{
    EXPECT_EQ(cli.processLine(R"({"customer":"list"})"), QByteArray(R"({"customers":[]})"));
    EXPECT_FALSE(lir::db::Table::exists(QStringLiteral("zakaz.db")));

    const QJsonObject added =
        send(cli, R"({"customer":"add","name":"ООО Рама","markup":12,"phone":"+7 495 123-45-67","inn":"7701234567"})");
    const QJsonObject c = added.value(QStringLiteral("customer")).toObject();
    EXPECT_EQ(c.value(QStringLiteral("id")).toInt(), 1);
    EXPECT_EQ(c.value(QStringLiteral("markup")).toInt(), 12);
    EXPECT_EQ(cli.processLine(R"({"customer":"list"})"),
              QByteArray(R"({"customers":[{"id":1,"name":"ООО Рама","contact":"","phone":"+7 495 123-45-67","email":"",)"
                         R"("address":"","inn":"7701234567","note":"","markup":12,"hidden":false}]})"));

    const QJsonObject edited = send(cli, R"({"customer":"edit","id":1,"contact":"Петров","hidden":true})");
    EXPECT_EQ(edited.value(QStringLiteral("customer")).toObject().value(QStringLiteral("contact")).toString(),
              QStringLiteral("Петров"));
    EXPECT_TRUE(edited.value(QStringLiteral("customer")).toObject().value(QStringLiteral("hidden")).toBool());

    const QByteArray before = cli.processLine(R"({"customer":"list"})");
    EXPECT_EQ(error(cli, R"({"customer":"add","markup":5})"), QStringLiteral("Не введено наименование заказчика!"));
    EXPECT_EQ(error(cli, R"({"customer":"add","name":"  "})"), QStringLiteral("Не введено наименование заказчика!"));
    EXPECT_EQ(error(cli, R"({"customer":"add","name":"Х","markup":2.5})"),
              QStringLiteral("Наценка «2.5» не принята: нужно целое число процентов не меньше -100."));
    EXPECT_EQ(error(cli, R"({"customer":"add","name":"Х","markup":-101})"),
              QStringLiteral("Наценка «-101» не принята: нужно целое число процентов не меньше -100."));
    EXPECT_EQ(error(cli, R"({"customer":"add","name":"Х","address":")" + QByteArray(10000, 'a') + R"("})"),
              QStringLiteral("Поле «Адрес» длиннее 500 символов: сократите его."));
    EXPECT_EQ(error(cli, R"({"customer":"add","name":"Х\u0007"})"),
              QStringLiteral("Поле «Наименование» содержит управляющие символы: уберите их."));
    EXPECT_EQ(error(cli, R"({"customer":"edit","id":7,"name":"Х"})"), QStringLiteral("Заказчика № 7 нет."));
    EXPECT_EQ(error(cli, R"({"customer":"add","name":"Х","fax":"1"})"), QStringLiteral("unknown key for customer add: fax"));
    EXPECT_EQ(error(cli, R"({"customer":"remove","id":1})"),
              QStringLiteral("unknown customer command (expected \"add\", \"list\" or \"edit\")"));
    EXPECT_EQ(cli.processLine(R"({"customer":"list"})"), before);
}

TEST_F(BookLines, TheOrdersCustomerFillsTheMarkupAndIsSavedWithTheOrder)
{
    // The total is priced from zeni.db; the test server has no price table.
    const bool priced = !lir::test::onTestServer();
    if (priced) {
        ASSERT_TRUE(QFile::copy(QStringLiteral(LIR_BINARY_DIR "/zeni.db"), work.file(QStringLiteral("zeni.db"))));
        // The delivered list has no prices yet.
        lir::db::Table::open(QStringLiteral("zeni.db")).query(QStringLiteral("update zeni set zena = 10"));
    }
    send(cli, R"({"customer":"add","name":"Альфа","markup":15})");
    QJsonObject order = send(cli, R"({"order":"customer","id":1})").value(QStringLiteral("order")).toObject();
    EXPECT_EQ(order.value(QStringLiteral("customer")).toInt(), 1);
    EXPECT_EQ(order.value(QStringLiteral("markup")).toString(), QStringLiteral("15"));
    EXPECT_EQ(order.value(QStringLiteral("markup_source")).toString(), QStringLiteral("customer"));
    // A markup typed afterwards wins.
    send(cli, R"({"calculator":"6741","FFH":600,"FFB":500,"add_to_order":true})");
    order = send(cli, R"({"order":"export_html","view":1,"markup":"30","path":"s.html"})").value(QStringLiteral("order")).toObject();
    EXPECT_EQ(order.value(QStringLiteral("markup_source")).toString(), QStringLiteral("typed"));
    EXPECT_EQ(order.value(QStringLiteral("markup")).toString(), QStringLiteral("30"));
    EXPECT_EQ(error(cli, R"({"order":"customer","id":2})"), QStringLiteral("Заказчика № 2 нет."));

    send(cli, R"({"order":"save","description":"Дача"})");
    const QJsonObject saved = send(cli, R"({"history":"search"})").value(QStringLiteral("orders")).toArray().first().toObject();
    EXPECT_EQ(saved.value(QStringLiteral("customer")).toInt(), 1);
    EXPECT_EQ(saved.value(QStringLiteral("customer_name")).toString(), QStringLiteral("Альфа"));
    EXPECT_EQ(saved.value(QStringLiteral("status")).toString(), QStringLiteral("Расчёт"));
    EXPECT_FALSE(saved.value(QStringLiteral("created")).isNull());
    if (priced)
        EXPECT_GT(saved.value(QStringLiteral("total")).toDouble(), 0.0);
    else
        EXPECT_TRUE(saved.value(QStringLiteral("total")).isNull());
}

TEST_F(BookLines, SearchSetCopyAndArchive)
{
    send(cli, R"({"customer":"add","name":"Альфа","markup":10})");
    send(cli, R"({"customer":"add","name":"Бета","markup":0})");
    const int a = saveOrder(1, "Дача Петрова", 600);
    const int b = saveOrder(2, "Офис", 700);
    const int c = saveOrder(0, "Склад", 800);
    EXPECT_EQ(orderIds(send(cli, R"({"history":"search"})")), (QList<int>{a, b, c}));
    EXPECT_EQ(orderIds(send(cli, R"({"history":"search","text":"петров"})")), QList<int>{a});
    EXPECT_EQ(orderIds(send(cli, R"({"history":"search","text":"бета"})")), QList<int>{b});
    EXPECT_EQ(orderIds(send(cli, R"({"history":"search","customer":1})")), QList<int>{a});
    EXPECT_EQ(orderIds(send(cli, R"({"history":"search","designation":"ЛИР-6741"})")), (QList<int>{a, b, c}));
    EXPECT_EQ(orderIds(send(cli, R"({"history":"search","designation":"ЛИР-6742"})")), QList<int>{});
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    EXPECT_EQ(orderIds(send(cli, QStringLiteral(R"({"history":"search","from":"%1","to":"%1"})").arg(today).toUtf8())),
              (QList<int>{a, b, c}));
    EXPECT_EQ(orderIds(send(cli, R"({"history":"search","to":"2000-01-01"})")), QList<int>{});

    // Status, note and description; the answer is the order as written.
    const QJsonObject set =
        send(cli, QStringLiteral(R"({"history":"set","id":%1,"status":"Принят","note":"срочно","description":"Офис, 3 этаж"})")
                      .arg(b)
                      .toUtf8())
            .value(QStringLiteral("saved_order"))
            .toObject();
    EXPECT_EQ(set.value(QStringLiteral("status")).toString(), QStringLiteral("Принят"));
    EXPECT_EQ(set.value(QStringLiteral("note")).toString(), QStringLiteral("срочно"));
    EXPECT_EQ(set.value(QStringLiteral("Name")).toString(), QStringLiteral("Офис, 3 этаж"));
    EXPECT_EQ(orderIds(send(cli, R"({"history":"search","status":"Принят"})")), QList<int>{b});
    const QJsonArray history = send(cli, R"({"history":"list"})").value(QStringLiteral("history")).toArray();
    EXPECT_EQ(history.at(1).toObject().value(QStringLiteral("Name")).toString(), QStringLiteral("Офис, 3 этаж"));

    // Copy: the order becomes current with its customer, to be saved anew.
    const QJsonObject copied = send(cli, QStringLiteral(R"({"history":"copy","id":%1})").arg(a).toUtf8());
    EXPECT_TRUE(copied.value(QStringLiteral("ok")).toBool());
    const QJsonObject current = copied.value(QStringLiteral("order")).toObject();
    EXPECT_EQ(current.value(QStringLiteral("customer")).toInt(), 1);
    EXPECT_EQ(current.value(QStringLiteral("description")).toString(), QStringLiteral("Дача Петрова"));
    EXPECT_EQ(current.value(QStringLiteral("markup")).toString(), QStringLiteral("10"));
    EXPECT_EQ(current.value(QStringLiteral("entries")).toArray().size(), 1);
    EXPECT_EQ(current.value(QStringLiteral("view")).toInt(), 2);

    // Archive: gone from the list, in the archive, and back again.
    send(cli, QStringLiteral(R"({"history":"archive","id":%1,"archived":true})").arg(c).toUtf8());
    EXPECT_EQ(orderIds(send(cli, R"({"history":"search"})")), (QList<int>{a, b}));
    EXPECT_EQ(orderIds(send(cli, R"({"history":"search","archived":true})")), QList<int>{c});
    EXPECT_EQ(send(cli, R"({"history":"list"})").value(QStringLiteral("history")).toArray().size(), 3);
    send(cli, QStringLiteral(R"({"history":"archive","id":%1,"archived":false})").arg(c).toUtf8());
    EXPECT_EQ(orderIds(send(cli, R"({"history":"search"})")), (QList<int>{a, b, c}));
}

TEST_F(BookLines, RefusedValuesWriteNothing)
{
    send(cli, R"({"customer":"add","name":"Альфа"})");
    const int a = saveOrder(1, "Заказ", 600);
    const QByteArray before = cli.processLine(R"({"history":"search"})");
    const QByteArray id = QByteArray::number(a);
    EXPECT_EQ(error(cli, R"({"history":"set","id":)" + id + R"(,"status":"Готов"})"),
              QStringLiteral("Нет такого состояния заказа: «Готов». Допустимы: Расчёт, Отправлено заказчику, Принят, В работе, Выполнен, Отказ."));
    EXPECT_EQ(error(cli, R"({"history":"set","id":999,"status":"Принят"})"), QStringLiteral("Заказа № 999 нет в таблице заказов."));
    EXPECT_EQ(error(cli, R"({"history":"set","id":)" + id + R"(,"note":")" + QByteArray(10000, 'n') + R"("})"),
              QStringLiteral("Поле «Примечание» длиннее 2000 символов: сократите его."));
    EXPECT_EQ(error(cli, R"({"history":"set","id":)" + id + R"(,"description":"две\nстроки"})"),
              QStringLiteral("Поле «Описание» содержит управляющие символы: уберите их."));
    EXPECT_EQ(error(cli, R"({"history":"set","id":)" + id + R"(,"description":""})"), QStringLiteral("Не введено описание заказа!"));
    EXPECT_EQ(error(cli, R"({"history":"set","id":)" + id + R"(,"customer":5})"), QStringLiteral("Заказчика № 5 нет."));
    EXPECT_EQ(error(cli, R"({"history":"search","from":"2026-02-30"})"),
              QStringLiteral("Даты «2026-02-30» не существует: нужна дата вида ГГГГ-ММ-ДД."));
    EXPECT_TRUE(error(cli, R"({"history":"search","status":"done"})").startsWith(QStringLiteral("Нет такого состояния заказа: «done».")));
    EXPECT_EQ(error(cli, R"({"history":"search","customer":3})"), QStringLiteral("Заказчика № 3 нет."));
    EXPECT_EQ(error(cli, R"({"history":"search","colour":3})"), QStringLiteral("unknown key for history search: colour"));
    EXPECT_EQ(error(cli, R"({"history":"archive","id":)" + id + "}"), QStringLiteral("history archive needs archived"));
    EXPECT_EQ(error(cli, R"({"history":"copy","id":0})"), QStringLiteral("id must be a whole number from 1 to 2147483647"));
    EXPECT_EQ(cli.processLine(R"({"history":"search"})"), before);
}
