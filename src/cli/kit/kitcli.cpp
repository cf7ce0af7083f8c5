#include "cli/kit/kitcli.h"

#include "core/base/dialogs.h"
#include "core/db/storage.h"
#include "core/calc/calctexts.h"
#include "core/export/kitsheet_html.h"
#include "core/export/kitsheet_xlsx.h"
#include "core/prices/pricetable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <cmath>
#include <functional>
#include <utility>
#include <vector>

namespace lir::cli {

namespace t = calctexts;

namespace {

using Kind = KitCalculator::Kind;

enum KindMask { Turn = 1, TiltTurn = 2, Tilt = 4, All = 7 };

int maskOf(Kind k)
{
    switch (k) {
    case Kind::Turn:
        return Turn;
    case Kind::TiltTurn:
        return TiltTurn;
    case Kind::Tilt:
        break;
    }
    return Tilt;
}

// A JSON object that keeps its keys in the order written.
class OrderedObject
{
public:
    void add(const QString& key, const QJsonValue& v)
    {
        m_items.emplace_back(key, v);
        m_raw.emplace_back();
    }
    void addRaw(const QString& key, const QByteArray& json)
    {
        m_items.emplace_back(key, QJsonValue());
        m_raw.push_back(json);
    }
    QByteArray toJson() const
    {
        QByteArray out = "{";
        for (size_t i = 0; i < m_items.size(); ++i) {
            if (i)
                out += ',';
            out += encode(QJsonValue(m_items[i].first));
            out += ':';
            out += m_raw[i].isEmpty() ? encode(m_items[i].second) : m_raw[i];
        }
        return out + '}';
    }
    static QByteArray encode(const QJsonValue& v)
    {
        const QByteArray wrapped = QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact);
        return wrapped.mid(1, wrapped.size() - 2);
    }

private:
    std::vector<std::pair<QString, QJsonValue>> m_items;
    std::vector<QByteArray> m_raw;
};

QByteArray errorLine(const QString& text)
{
    OrderedObject o;
    o.add(QStringLiteral("error"), text);
    return o.toJson();
}

struct Invalid
{
    QString text;
};

bool jsonInt(const QJsonValue& v, qint64& out)
{
    if (!v.isDouble())
        return false;
    const double d = v.toDouble();
    if (!std::isfinite(d) || std::floor(d) != d || std::fabs(d) > 9.0e15)
        return false;
    out = qint64(d);
    return true;
}

// What applying one key does: false means the input was hidden or disabled
// at that moment and stayed as it was.
using Apply = std::function<bool(KitCalculator&)>;

struct KeySpec
{
    const char* name;
    int kinds;
    // Validates the value and returns what applying it does.
    std::function<Apply(const QJsonValue&, Kind)> parse;
};

int itemIndex(const QJsonValue& v, const QStringList& items, const char* key)
{
    const int i = v.isString() ? int(items.indexOf(v.toString())) : -1;
    if (i < 0)
        throw Invalid{QStringLiteral("%1 must be one of: %2").arg(QLatin1String(key), items.join(QStringLiteral(", ")))};
    return i;
}

bool boolValue(const QJsonValue& v, const char* key)
{
    if (!v.isBool())
        throw Invalid{QStringLiteral("%1 must be true or false").arg(QLatin1String(key))};
    return v.toBool();
}

qint64 intValue(const QJsonValue& v, const char* key)
{
    qint64 i = 0;
    if (!jsonInt(v, i))
        throw Invalid{QStringLiteral("%1 must be a whole number").arg(QLatin1String(key))};
    return i;
}

int intInRange(const QJsonValue& v, const char* key, int lo, int hi)
{
    const qint64 i = intValue(v, key);
    if (i < lo || i > hi)
        throw Invalid{QStringLiteral("%1 must be between %2 and %3").arg(QLatin1String(key)).arg(lo).arg(hi)};
    return int(i);
}

int clamped(const QJsonValue& v, const char* key, int lo, int hi)
{
    const qint64 i = intValue(v, key);
    return int(i < lo ? lo : (i > hi ? hi : i));
}

template <class K> K& as(KitCalculator& c)
{
    return static_cast<K&>(c);
}

QString filePath(const QJsonValue& v, const char* key)
{
    if (!v.isString() || v.toString().isEmpty())
        throw Invalid{QStringLiteral("%1 must be a file path").arg(QLatin1String(key))};
    return v.toString();
}

// The locale of numbers in the sheets, as the C library would choose it.
QLocale cliLocale()
{
    for (const char* var : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const QByteArray value = qgetenv(var);
        if (value.isEmpty())
            continue;
        if (value == "C" || value == "POSIX" || value.startsWith("C."))
            return QLocale::c();
        return QLocale(QString::fromLatin1(value));
    }
    return QLocale::c();
}

// Writes a sheet with prices from zeni.db in the current directory; a failure
// is reported among the line's messages, as the window shows it in its error box.
void exportSheet(const std::function<void()>& write)
{
    runGuarded([&] {
        prices::open();
        write();
    });
}

// The controls whose click shows the sash drawing again (ImageUpdate), by window.
void clickImageUpdate(KitCalculator& c)
{
    c.ImageUpdate();
}

const std::vector<KeySpec>& keySpecs()
{
    static const std::vector<KeySpec> specs = {
        {"ProfilType", All,
         [](const QJsonValue& v, Kind) -> Apply {
             const int i = itemIndex(v, t::profilTypes, "ProfilType");
             return [i](KitCalculator& c) { c.setProfilType(i); return true; };
         }},
        {"Complekt", Turn,
         [](const QJsonValue& v, Kind) -> Apply {
             const int i = intInRange(v, "Complekt", 0, 1);
             return [i](KitCalculator& c) { as<TurnKit>(c).setComplekt(i); return true; };
         }},
        {"cb_zapor", TiltTurn,
         [](const QJsonValue& v, Kind) -> Apply {
             const bool b = boolValue(v, "cb_zapor");
             return [b](KitCalculator& c) { as<TiltTurnKit>(c).setCbZapor(b); return true; };
         }},
        {"KolKomlektov", All,
         [](const QJsonValue& v, Kind) -> Apply {
             const int i = clamped(v, "KolKomlektov", 1, 100000);
             return [i](KitCalculator& c) { clickImageUpdate(c); c.setKolKomlektov(i); return true; };
         }},
        {"RAL", All,
         [](const QJsonValue& v, Kind) -> Apply {
             const int i = clamped(v, "RAL", 0, 9999);
             return [i](KitCalculator& c) { clickImageUpdate(c); c.setRal(i); return true; };
         }},
        {"NazvSystemProfiles", All,
         [](const QJsonValue& v, Kind k) -> Apply {
             const QStringList& items = k == Kind::Turn ? t::nazvTurn
                                        : k == Kind::TiltTurn ? t::nazvTiltTurn
                                                              : t::nazvTilt;
             const int i = itemIndex(v, items, "NazvSystemProfiles");
             return [i](KitCalculator& c) {
                 if (!c.nazvVisible())
                     return false;
                 clickImageUpdate(c);
                 c.setNazvSystemProfiles(i);
                 return true;
             };
         }},
        {"cb_ramaType", All,
         [](const QJsonValue& v, Kind) -> Apply {
             const int i = itemIndex(v, t::ramaTypes, "cb_ramaType");
             return [i](KitCalculator& c) {
                 if (!c.ramaTypeVisible())
                     return false;
                 if (c.kind() == Kind::Tilt)
                     clickImageUpdate(c);
                 c.setRamaType(i);
                 return true;
             };
         }},
        {"RadioGroup1", All,
         [](const QJsonValue& v, Kind) -> Apply {
             const int i = intInRange(v, "RadioGroup1", 0, 1);
             return [i](KitCalculator& c) {
                 if (!c.weightVisible())
                     return false;
                 c.setRadioGroup1(i);
                 return true;
             };
         }},
        {"PolStvorki", Turn | TiltTurn,
         [](const QJsonValue& v, Kind) -> Apply {
             const int i = itemIndex(v, t::polStvorki, "PolStvorki");
             return [i](KitCalculator& c) { clickImageUpdate(c); c.setPolStvorki(i); return true; };
         }},
        {"FFH", All,
         [](const QJsonValue& v, Kind) -> Apply {
             const int i = intInRange(v, "FFH", 0, 9999);
             return [i](KitCalculator& c) { clickImageUpdate(c); c.setFFH(i); return true; };
         }},
        {"FFB", All,
         [](const QJsonValue& v, Kind) -> Apply {
             const int i = intInRange(v, "FFB", 0, 9999);
             return [i](KitCalculator& c) { clickImageUpdate(c); c.setFFB(i); return true; };
         }},
        {"RuchkaVcentre", Turn | TiltTurn,
         [](const QJsonValue& v, Kind) -> Apply {
             const bool b = boolValue(v, "RuchkaVcentre");
             return [b](KitCalculator& c) { c.setRuchkaVcentre(b); return true; };
         }},
        {"GH", All,
         [](const QJsonValue& v, Kind) -> Apply {
             const int i = intInRange(v, "GH", 0, 9999);
             return [i](KitCalculator& c) {
                 if (!c.ghEnabled() || c.kind() == Kind::Tilt)
                     return false;
                 clickImageUpdate(c);
                 c.setGH(i);
                 return true;
             };
         }},
        {"RuchkaOkon", All,
         [](const QJsonValue& v, Kind) -> Apply {
             const bool b = boolValue(v, "RuchkaOkon");
             return [b](KitCalculator& c) { c.setRuchkaOkon(b); return true; };
         }},
        {"TipRuchki", All,
         [](const QJsonValue& v, Kind) -> Apply {
             const int i = itemIndex(v, t::tipRuchki, "TipRuchki");
             return [i](KitCalculator& c) {
                 if (!c.handleTypeVisible())
                     return false;
                 c.setTipRuchki(i);
                 return true;
             };
         }},
        {"Provetrivatel", All,
         [](const QJsonValue& v, Kind) -> Apply {
             const bool b = boolValue(v, "Provetrivatel");
             return [b](KitCalculator& c) { c.setProvetrivatel(b); return true; };
         }},
        {"BalkonnayaZaschelka", Turn,
         [](const QJsonValue& v, Kind) -> Apply {
             const bool b = boolValue(v, "BalkonnayaZaschelka");
             return [b](KitCalculator& c) { as<TurnKit>(c).setBalkonnayaZaschelka(b); return true; };
         }},
        {"blokirator", Turn,
         [](const QJsonValue& v, Kind) -> Apply {
             const bool b = boolValue(v, "blokirator");
             return [b](KitCalculator& c) {
                 if (!as<TurnKit>(c).blokiratorVisible())
                     return false;
                 as<TurnKit>(c).setBlokirator(b);
                 return true;
             };
         }},
        {"PlankaMicrovent", TiltTurn,
         [](const QJsonValue& v, Kind) -> Apply {
             const bool b = boolValue(v, "PlankaMicrovent");
             return [b](KitCalculator& c) {
                 if (!as<TiltTurnKit>(c).plankaMicroventVisible())
                     return false;
                 as<TiltTurnKit>(c).setPlankaMicrovent(b);
                 return true;
             };
         }},
        {"CheckBox1", TiltTurn | Tilt,
         [](const QJsonValue& v, Kind) -> Apply {
             const bool b = boolValue(v, "CheckBox1");
             return [b](KitCalculator& c) {
                 if (c.kind() == Kind::TiltTurn)
                     as<TiltTurnKit>(c).setCheckBox1(b);
                 else
                     as<TiltKit>(c).setCheckBox1(b);
                 return true;
             };
         }},
        {"calculate", All,
         [](const QJsonValue& v, Kind) -> Apply {
             const bool b = boolValue(v, "calculate");
             return [b](KitCalculator& c) {
                 if (b)
                     c.RashetButtonClick();
                 return true;
             };
         }},
        {"export_html", All,
         [](const QJsonValue& v, Kind) -> Apply {
             const QString path = filePath(v, "export_html");
             return [path](KitCalculator& c) {
                 if (!c.commandsVisible()) // "EXCEL" is shown only after a successful calculation
                     return false;
                 exportSheet([&] { writeKitSheetHtml(path, KitSheet::fromCalculator(c), LookupPrice, cliLocale()); });
                 return true;
             };
         }},
        {"export_xlsx", All,
         [](const QJsonValue& v, Kind) -> Apply {
             const QString path = filePath(v, "export_xlsx");
             return [path](KitCalculator& c) {
                 if (!c.commandsVisible())
                     return false;
                 exportSheet([&] { writeKitSheetXlsx(path, KitSheet::fromCalculator(c), LookupPrice, cliLocale()); });
                 return true;
             };
         }},
        // The order's buttons of the calculator, pressed after the calculation.
        {"add_to_order", All,
         [](const QJsonValue& v, Kind) -> Apply {
             const bool b = boolValue(v, "add_to_order");
             return [b](KitCalculator& c) { return !b || OrderCommands::pressSumButton(c); };
         }},
        {"save_changes", All,
         [](const QJsonValue& v, Kind) -> Apply {
             const bool b = boolValue(v, "save_changes");
             return [b](KitCalculator& c) { return !b || OrderCommands::pressSaveChanges(c); };
         }},
    };
    return specs;
}

QJsonValue textOrNull(const QString& s)
{
    return s.isNull() ? QJsonValue() : QJsonValue(s);
}

QByteArray stateJson(KitCalculator& c)
{
    OrderedObject s;
    const Kind k = c.kind();
    s.add(QStringLiteral("ProfilType"), t::profilTypes.at(c.profilType()));
    if (k == Kind::Turn)
        s.add(QStringLiteral("Complekt"), as<TurnKit>(c).complekt());
    if (k == Kind::TiltTurn)
        s.add(QStringLiteral("cb_zapor"), as<TiltTurnKit>(c).cbZapor());
    s.add(QStringLiteral("KolKomlektov"), c.kolKomlektov());
    s.add(QStringLiteral("RAL"), c.ral());
    s.add(QStringLiteral("NazvSystemProfiles"), textOrNull(c.nazvSystemProfilesText()));
    s.add(QStringLiteral("cb_ramaType"), textOrNull(c.ramaTypeText()));
    s.add(QStringLiteral("RadioGroup1"), c.radioGroup1());
    if (k != Kind::Tilt)
        s.add(QStringLiteral("PolStvorki"), t::polStvorki.at(c.polStvorki()));
    s.add(QStringLiteral("FFH"), c.ffh());
    s.add(QStringLiteral("FFB"), c.ffb());
    if (k != Kind::Tilt)
        s.add(QStringLiteral("RuchkaVcentre"), c.ruchkaVcentre());
    s.add(QStringLiteral("GH"), c.gh());
    s.add(QStringLiteral("RuchkaOkon"), c.ruchkaOkon());
    s.add(QStringLiteral("TipRuchki"), t::tipRuchki.at(c.tipRuchki()));
    s.add(QStringLiteral("Provetrivatel"), c.provetrivatel());
    if (k == Kind::Turn) {
        s.add(QStringLiteral("BalkonnayaZaschelka"), as<TurnKit>(c).balkonnayaZaschelka());
        s.add(QStringLiteral("blokirator"), as<TurnKit>(c).blokirator());
    }
    if (k == Kind::TiltTurn) {
        s.add(QStringLiteral("PlankaMicrovent"), as<TiltTurnKit>(c).plankaMicrovent());
        s.add(QStringLiteral("CheckBox1"), as<TiltTurnKit>(c).checkBox1());
    }
    if (k == Kind::Tilt)
        s.add(QStringLiteral("CheckBox1"), as<TiltKit>(c).checkBox1());
    s.add(QStringLiteral("SystemProfiles"), c.systemProfilesText());
    return s.toJson();
}

} // namespace

KitCli::KitCli() = default;

QByteArray KitCli::processLine(const QByteArray& line)
{
    QJsonParseError perr;
    const QJsonDocument doc = QJsonDocument::fromJson(line, &perr);
    if (perr.error != QJsonParseError::NoError)
        return errorLine(QStringLiteral("not valid JSON: ") + perr.errorString());
    if (!doc.isObject())
        return errorLine(QStringLiteral("a line must hold one JSON object"));
    const QJsonObject in = doc.object();
    if (OrderCommands::isOrderLine(in))
        return m_orders.processOrderLine(in);
    if (OrderCommands::isHistoryLine(in))
        return m_orders.processHistoryLine(in);

    const QJsonValue calcValue = in.value(QStringLiteral("calculator"));
    KitCalculator* calc = nullptr;
    const QString calcName = calcValue.toString();
    if (calcName == QLatin1String("6741"))
        calc = &m_turn;
    else if (calcName == QLatin1String("6742"))
        calc = &m_tiltTurn;
    else if (calcName == QLatin1String("6741otkid"))
        calc = &m_tilt;
    if (!calc)
        return errorLine(QStringLiteral("unknown calculator (expected \"6741\", \"6742\" or \"6741otkid\")"));
    const int mask = maskOf(calc->kind());

    // Validate every key before anything is applied.
    for (auto it = in.begin(); it != in.end(); ++it) {
        if (it.key() == QLatin1String("calculator"))
            continue;
        bool known = false;
        for (const KeySpec& entry : keySpecs())
            if (it.key() == QLatin1String(entry.name))
                known = (entry.kinds & mask) != 0;
        if (!known)
            return errorLine(QStringLiteral("unknown key for calculator %1: %2").arg(calcName, it.key()));
    }
    std::vector<std::pair<QString, Apply>> steps;
    bool calculateGiven = false;
    try {
        for (const KeySpec& entry : keySpecs()) {
            const QString key = QLatin1String(entry.name);
            if (!in.contains(key))
                continue;
            if (key == QLatin1String("calculate"))
                calculateGiven = true;
            steps.emplace_back(key, entry.parse(in.value(key), calc->kind()));
        }
    } catch (const Invalid& e) {
        return errorLine(e.text);
    }
    if (!calculateGiven) {
        // "calculate" defaults to true; it comes before the exports and the order's buttons.
        auto pos = steps.begin();
        while (pos != steps.end() && !pos->first.startsWith(QLatin1String("export_"))
               && pos->first != QLatin1String("add_to_order") && pos->first != QLatin1String("save_changes"))
            ++pos;
        steps.emplace(pos, QStringLiteral("calculate"), [](KitCalculator& c) {
            c.RashetButtonClick();
            return true;
        });
    }

    const OrderCommands::Scope orderScope(m_orders);
    RecordingDialogs recorder;
    Dialogs* previous = setDialogs(&recorder);
    QJsonArray ignored;
    for (auto& [key, apply] : steps)
        if (!apply(*calc))
            ignored.append(key);
    setDialogs(previous);

    OrderedObject out;
    out.add(QStringLiteral("calculator"), calcName);
    out.add(QStringLiteral("ok"), !calc->lastCalculationFailed());
    QJsonArray messages;
    for (const RecordingDialogs::Shown& s : recorder.shown())
        messages.append(s.text);
    out.add(QStringLiteral("messages"), messages);
    out.add(QStringLiteral("LIRL"), calc->lirlText());
    out.add(QStringLiteral("KitDesignation"), calc->KitDesignation);
    out.add(QStringLiteral("LineCount"), calc->LineCount);
    OrderedObject last;
    last.add(QStringLiteral("FFH"), calc->LastFFH);
    last.add(QStringLiteral("FFB"), calc->LastFFB);
    last.add(QStringLiteral("GH"), calc->LastGH);
    out.addRaw(QStringLiteral("Last"), last.toJson());
    int lastRow = 0;
    for (int r = 1; r < calc->gridRowCount(); ++r)
        for (const QString& cell : calc->gridRow(r))
            if (!cell.isEmpty())
                lastRow = r;
    QJsonArray grid;
    for (int r = 1; r <= lastRow; ++r) {
        QJsonArray cells;
        for (const QString& cell : calc->gridRow(r))
            cells.append(cell);
        grid.append(cells);
    }
    out.add(QStringLiteral("grid"), grid);
    out.addRaw(QStringLiteral("state"), stateJson(*calc));
    out.add(QStringLiteral("ignored"), ignored);
    if (in.contains(QStringLiteral("add_to_order")) || in.contains(QStringLiteral("save_changes")))
        out.addRaw(QStringLiteral("order"), m_orders.orderJson());
    return out.toJson();
}

int KitCli::run(std::FILE* in, std::FILE* out)
{
    QByteArray line;
    char buf[4096];
    auto flushLine = [&] {
        if (line.endsWith('\r'))
            line.chop(1);
        const QByteArray answer = processLine(line) + '\n';
        std::fwrite(answer.constData(), 1, size_t(answer.size()), out);
        std::fflush(out);
        line.clear();
    };
    while (std::fgets(buf, sizeof buf, in)) {
        line += buf;
        if (line.endsWith('\n')) {
            line.chop(1);
            flushLine();
        }
    }
    if (!line.isEmpty())
        flushLine();
    return 0;
}

} // namespace lir::cli
