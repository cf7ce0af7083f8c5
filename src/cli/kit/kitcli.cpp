#include "cli/kit/kitcli.h"

#include "cli/kit/clitexts.h"
#include "cli/kit/jsonwriter.h"
#include "cli/kit/keytable.h"
#include "cli/kit/sheetlocale.h"
#include "core/base/dialogs.h"
#include "core/export/kitsheet_html.h"
#include "core/export/kitsheet_xlsx.h"
#include "core/export/quote.h"
#include "core/prices/pricetable.h"
#include "docs/quotedocument.h"
#include "docs/sashdrawing.h"

#include <QDir>

#include <QJsonArray>

#include <functional>
#include <utility>
#include <vector>

namespace lir::cli {

namespace {

// Writes a sheet with prices from zeni.db in the current directory; a failure
// is reported among the line's messages, as the window shows it in its error box.
void exportSheet(const std::function<void()>& write)
{
    runGuarded([&] {
        prices::open();
        write();
    });
}

// What one key of a line does: false means the input was hidden or disabled
// at that moment and stayed as it was.
using Step = std::function<bool(KitCalculator&)>;

Step stepOf(const Key& key, const QJsonValue& value, const KitCalculator& c)
{
    switch (key.command) {
    case Key::Command::None: {
        const int v = inputValue(key, value, c);
        const KitCalculator::Input input = key.input;
        return [input, v](KitCalculator& k) { return k.userSet(input, v); };
    }
    case Key::Command::Calculate:
        if (!boolValue(key, value))
            return [](KitCalculator&) { return true; };
        break;
    case Key::Command::ExportHtml: {
        const QString path = pathValue(key, value);
        return [path](KitCalculator& k) {
            if (!k.commandsVisible()) // "EXCEL" is shown only after a successful calculation
                return false;
            if (k.calculateIfChanged())
                exportSheet([&] { writeKitSheetHtml(path, KitSheet::fromCalculator(k), prices::documentLookup(), sheetLocale()); });
            return true;
        };
    }
    case Key::Command::ExportXlsx: {
        const QString path = pathValue(key, value);
        return [path](KitCalculator& k) {
            if (!k.commandsVisible())
                return false;
            if (k.calculateIfChanged())
                exportSheet([&] { writeKitSheetXlsx(path, KitSheet::fromCalculator(k), prices::documentLookup(), sheetLocale()); });
            return true;
        };
    }
    case Key::Command::ExportSvg: {
        // The drawing of the inputs as they stand, whatever the calculation gave.
        const QString path = pathValue(key, value);
        return [path](KitCalculator& k) {
            runGuarded([&] { writeSashSvg(path, sashDrawingOf(k)); });
            return true;
        };
    }
    case Key::Command::ExportPdf: {
        // The kit's quote, headed by the company details of lircomplect.ini here.
        const QString path = pathValue(key, value);
        return [path](KitCalculator& k) {
            if (!k.commandsVisible())
                return false;
            if (k.calculateIfChanged())
                exportSheet([&] {
                    const Quote q = kitQuote(k, prices::documentLookup(), readCompanyDetails(QDir::currentPath()),
                                             QDate::currentDate());
                    docs::writeQuotePdf(path, q);
                });
            return true;
        };
    }
    case Key::Command::AddToOrder: {
        const bool pressed = boolValue(key, value);
        return [pressed](KitCalculator& k) { return !pressed || OrderCommands::pressSumButton(k); };
    }
    case Key::Command::SaveChanges: {
        const bool pressed = boolValue(key, value);
        return [pressed](KitCalculator& k) { return !pressed || OrderCommands::pressSaveChanges(k); };
    }
    }
    return [](KitCalculator& k) {
        k.RashetButtonClick();
        return true;
    };
}

} // namespace

KitCli::KitCli()
{
    addCommand(QStringLiteral("calculator"), [this](const QJsonObject& line) { return calculatorLine(line); });
    addCommand(QStringLiteral("order"), [this](const QJsonObject& line) { return m_orders.processOrderLine(line); });
    addCommand(QStringLiteral("history"), [this](const QJsonObject& line) { return m_orders.processHistoryLine(line); });
    addCommand(QStringLiteral("customer"), [this](const QJsonObject& line) { return m_orders.book().processCustomerLine(line); });
}

void KitCli::addCommand(const QString& key, LineCommands::Command command)
{
    m_commands.add(key, std::move(command));
}

QByteArray KitCli::processLine(const QByteArray& line)
{
    return m_commands.answer(line);
}

int KitCli::run(std::FILE* in, std::FILE* out)
{
    driveLines(in, out, [this](const QByteArray& line) { return processLine(line); });
    return 0;
}

QByteArray KitCli::calculatorLine(const QJsonObject& in)
{
    const QString calcName = in.value(QStringLiteral("calculator")).toString();
    KitCalculator* calc = nullptr;
    QStringList models;
    for (KitCalculator* c : {static_cast<KitCalculator*>(&m_turn), static_cast<KitCalculator*>(&m_tiltTurn),
                             static_cast<KitCalculator*>(&m_tilt)}) {
        models << c->model();
        if (c->model() == calcName)
            calc = c;
    }
    if (!calc)
        return errorLine(texts::unknownCalculator(models));

    // Every key is validated before anything is applied.
    for (auto it = in.begin(); it != in.end(); ++it) {
        if (it.key() == QLatin1String("calculator"))
            continue;
        const Key* key = findKey(it.key());
        if (!key || !takesKey(*calc, *key))
            return errorLine(texts::unknownKey(calcName, it.key()));
    }
    struct NamedStep
    {
        const Key* key;
        Step apply;
    };
    std::vector<NamedStep> steps;
    try {
        for (const Key& key : calculatorKeys()) {
            const QString name = QLatin1String(key.name);
            if (in.contains(name))
                steps.push_back({&key, stepOf(key, in.value(name), *calc)});
        }
    } catch (const InvalidValue& e) {
        return errorLine(e.text);
    }
    if (!in.contains(QStringLiteral("calculate"))) {
        // "calculate" defaults to true; it comes after the inputs, before the
        // exports and the order's buttons.
        const Key* calculate = findKey(QStringLiteral("calculate"));
        auto pos = steps.begin();
        while (pos != steps.end() && pos->key->command == Key::Command::None)
            ++pos;
        steps.insert(pos, {calculate, stepOf(*calculate, true, *calc)});
    }

    const OrderCommands::Scope orderScope(m_orders);
    RecordingDialogs recorder;
    QJsonArray ignored;
    {
        const ScopedDialogs recording(recorder);
        for (const NamedStep& step : steps)
            if (!step.apply(*calc))
                ignored.append(QLatin1String(step.key->name));
    }
    QJsonArray messages;
    for (const RecordingDialogs::Shown& s : recorder.shown())
        messages.append(s.text);
    const bool orderPressed = in.contains(QStringLiteral("add_to_order")) || in.contains(QStringLiteral("save_changes"));
    return calculatorAnswer(*calc, messages, ignored, orderPressed ? m_orders.orderJson() : QByteArray());
}

} // namespace lir::cli
