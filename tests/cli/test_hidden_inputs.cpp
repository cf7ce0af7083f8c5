// An input that is hidden or disabled in the window is reported as ignored by
// the command-line calculator and leaves the whole state as it was; once shown,
// the same key is taken.
#include "cli/kit/kitcli.h"
#include "support/testsupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QJsonObject answer(lir::cli::KitCli& cli, const QByteArray& line)
{
    const QJsonDocument doc = QJsonDocument::fromJson(cli.processLine(line));
    EXPECT_TRUE(doc.isObject()) << line.constData();
    EXPECT_FALSE(doc.object().contains(QStringLiteral("error"))) << line.constData();
    return doc.object();
}

} // namespace

TEST(KitCliHiddenInputs, LeaveTheStateUnchanged)
{
    struct Case
    {
        const char* calculator;
        const char* hide; // keys that hide or disable the input
        const char* key;
        const char* value;
        const char* show; // keys that show it again; null: never shown
    };
    const Case cases[] = {
        {"6741", R"("ProfilType":"деревянный")", "NazvSystemProfiles", R"("Thyssen")", R"("ProfilType":"ПВХ")"},
        {"6741", R"("ProfilType":"ПВХ")", "cb_ramaType", R"("Еврофальц 20/8")", R"("ProfilType":"деревянный")"},
        {"6741", R"("ProfilType":"деревянный")", "RadioGroup1", "1", R"("ProfilType":"ПВХ")"},
        {"6741", R"("FFH":1200,"RuchkaVcentre":true)", "GH", "400", R"("RuchkaVcentre":false)"},
        {"6741", R"("RuchkaOkon":false)", "TipRuchki", R"("ЛИР-1938.00")", R"("RuchkaOkon":true)"},
        {"6741", R"("ProfilType":"ПВХ")", "blokirator", "true", R"("ProfilType":"деревянный")"},
        {"6742", R"("ProfilType":"деревянный")", "NazvSystemProfiles", R"("Thyssen")", R"("ProfilType":"ПВХ")"},
        {"6742", R"("ProfilType":"ПВХ")", "cb_ramaType", R"("Еврофальц 20/8")", R"("ProfilType":"деревянный")"},
        {"6742", R"("ProfilType":"деревянный")", "RadioGroup1", "1", R"("ProfilType":"ПВХ")"},
        {"6742", R"("FFH":1400,"RuchkaVcentre":true)", "GH", "300", R"("RuchkaVcentre":false)"},
        {"6742", R"("RuchkaOkon":false)", "TipRuchki", R"("ЛИР-1938.00")", R"("RuchkaOkon":true)"},
        {"6742", R"("ProfilType":"деревянный")", "PlankaMicrovent", "true", R"("ProfilType":"ПВХ")"},
        {"6741otkid", R"("ProfilType":"деревянный")", "NazvSystemProfiles", R"("Thyssen")", R"("ProfilType":"ПВХ")"},
        {"6741otkid", R"("ProfilType":"ПВХ")", "cb_ramaType", R"("Еврофальц 20/8")", R"("ProfilType":"деревянный")"},
        {"6741otkid", R"("ProfilType":"деревянный")", "RadioGroup1", "1", R"("ProfilType":"ПВХ")"},
        {"6741otkid", R"("FFB":700)", "GH", "100", nullptr},
        {"6741otkid", R"("RuchkaOkon":false)", "TipRuchki", R"("ЛИР-1938.00")", R"("RuchkaOkon":true)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.calculator << ' ' << c.key);
        const QByteArray head = QByteArray("{\"calculator\":\"") + c.calculator + "\",";
        const QByteArray keyLine = head + '"' + c.key + "\":" + c.value + ",\"calculate\":false}";
        const QJsonValue value = QJsonDocument::fromJson(QByteArray("[") + c.value + ']').array().at(0);
        lir::cli::KitCli cli;

        const QJsonObject before = answer(cli, head + c.hide + ",\"calculate\":false}")[QStringLiteral("state")].toObject();
        ASSERT_NE(before[QLatin1String(c.key)], value);
        QJsonObject o = answer(cli, keyLine);
        EXPECT_EQ(o[QStringLiteral("ignored")].toArray(), QJsonArray{QLatin1String(c.key)});
        EXPECT_EQ(o[QStringLiteral("state")].toObject(), before);
        if (!c.show)
            continue;
        answer(cli, head + c.show + ",\"calculate\":false}");
        o = answer(cli, keyLine);
        EXPECT_TRUE(o[QStringLiteral("ignored")].toArray().isEmpty());
        EXPECT_EQ(o[QStringLiteral("state")].toObject()[QLatin1String(c.key)], value);
    }
}
