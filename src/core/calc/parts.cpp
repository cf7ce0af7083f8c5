#include "core/calc/parts.h"

#include <QMutex>
#include <QSet>

#include <array>
#include <utility>

namespace lir {

namespace {

// Texts and screws per piece (4×25, 4×40) of every part. Some designations and
// names mix Latin and Cyrillic look-alike letters: the Latin "B" and "X" of
// the placeholders that the rules overwrite, the Latin "H" of the lower caps,
// the Cyrillic "В" of the upper caps and "А" of the 1300А parts.
const std::array<TMyLIR, size_t(Part::Count)>& lines()
{
    static const std::array<TMyLIR, size_t(Part::Count)> all = [] {
        const std::pair<Part, TMyLIR> table[] = {
            {Part::BoltTurn300, {QStringLiteral("6742.50.00-01"), QStringLiteral("Засов поворотный 300"), QStringLiteral("300-500"), 0, 4, 0}},
            {Part::BoltTurn500, {QStringLiteral("6742.50.00-02"), QStringLiteral("Засов поворотный 500"), QStringLiteral("501-700"), 0, 6, 0}},
            {Part::BoltTurn700, {QStringLiteral("6742.50.00-03"), QStringLiteral("Засов поворотный 700"), QStringLiteral("701-1000"), 0, 6, 0}},
            {Part::BoltTurn1000, {QStringLiteral("6742.50.00-04"), QStringLiteral("Засов поворотный 1000"), QStringLiteral("1001-1400"), 0, 8, 0}},
            {Part::BoltTurn1400, {QStringLiteral("6742.50.00-05"), QStringLiteral("Засов поворотный 1400"), QStringLiteral("1401-1800"), 0, 10, 0}},
            {Part::BoltTurn1800, {QStringLiteral("6742.50.00-06"), QStringLiteral("Засов поворотный 1800"), QStringLiteral("1801-2300"), 0, 12, 0}},
            {Part::Bolt440, {QStringLiteral("6742.01.00"), QStringLiteral("Засов 440"), QStringLiteral("440-620"), 0, 0, 0}},
            {Part::Bolt620, {QStringLiteral("6742.01.00-01"), QStringLiteral("Засов 620"), QStringLiteral("621-800"), 0, 3, 0}},
            {Part::Bolt800, {QStringLiteral("6742.01.00-02"), QStringLiteral("Засов 800"), QStringLiteral("801-1300"), 0, 4, 0}},
            {Part::Bolt1300A, {QStringLiteral("6742.01.00-03А"), QStringLiteral("Засов 1300А"), QStringLiteral("1301-1500"), 0, 6, 0}},
            {Part::Bolt1300, {QStringLiteral("6742.01.00-03"), QStringLiteral("Засов 1300"), QStringLiteral("1301-1800"), 0, 6, 0}},
            {Part::CornerSwitch, {QStringLiteral("6742.02.00"), QStringLiteral("Угловой переключатель"), QStringLiteral("-"), 0, 4, 0}},
            {Part::CornerSwitchSmall, {QStringLiteral("6742.02.00-05"), QStringLiteral("Угловой переключатель малый"), QStringLiteral("02.05"), 0, 3, 0}},
            {Part::Extension500, {QStringLiteral("6742.03.00"), QStringLiteral("Удлинитель 500"), QStringLiteral("500"), 0, 3, 0}},
            {Part::Extension250, {QStringLiteral("6742.03.00-01"), QStringLiteral("Удлинитель 250"), QStringLiteral("250"), 0, 2, 0}},
            {Part::Rail280, {QStringLiteral("6742.04.00"), QStringLiteral("Шина 280"), QStringLiteral("280-460"), 0, 0, 0}},
            {Part::Rail460, {QStringLiteral("6742.04.00-01"), QStringLiteral("Шина 460"), QStringLiteral("461-550"), 0, 0, 0}},
            {Part::Rail550, {QStringLiteral("6742.04.00-02"), QStringLiteral("Шина 550"), QStringLiteral("551-800"), 0, 0, 0}},
            {Part::Rail800, {QStringLiteral("6742.04.00-03"), QStringLiteral("Шина 800"), QStringLiteral("801-1050"), 0, 0, 0}},
            {Part::Rail1050, {QStringLiteral("6742.04.00-04"), QStringLiteral("Шина 1050"), QStringLiteral("1050-1300"), 0, 0, 0}},
            {Part::MiddleLock800, {QStringLiteral("6742.05.00"), QStringLiteral("Запор средний 800"), QStringLiteral("801-1300"), 0, 0, 0}},
            {Part::MiddleLock1300A, {QStringLiteral("6742.05.00-01А"), QStringLiteral("Запор средний 1300А"), QStringLiteral("1301-1500"), 0, 0, 0}},
            {Part::MiddleLock1300, {QStringLiteral("6742.05.00-01"), QStringLiteral("Запор средний 1300"), QStringLiteral("1301-1800"), 0, 0, 0}},
            {Part::MiddleLock1800, {QStringLiteral("6742.05.00-02"), QStringLiteral("Запор средний 1800"), QStringLiteral("1801-2300"), 0, 0, 0}},
            {Part::Bracket280, {QStringLiteral("6742.07.00-X1B"), QStringLiteral("Кронштейн 280"), QStringLiteral("280"), 0, 0, 0}},
            {Part::Bracket550, {QStringLiteral("6742.07.00-X2B"), QStringLiteral("Кронштейн 550"), QStringLiteral("550"), 0, 0, 0}},
            {Part::Bracket800, {QStringLiteral("6742.07.00-X3B"), QStringLiteral("Кронштейн 800"), QStringLiteral("800"), 0, 0, 0}},
            {Part::Striker, {QStringLiteral("0483.00.01"), QStringLiteral("Планка запорная"), QStringLiteral("-"), 0, 1, 0}},
            {Part::StrikerTiltTurn, {QStringLiteral("0483.12.00"), QStringLiteral("Планка запорная пов.откидная"), QStringLiteral("-"), 0, 2, 0}},
            {Part::TravelStop, {QStringLiteral("6742.00.04"), QStringLiteral("Ограничитель хода"), QStringLiteral("00400"), 0, 0, 0}},
            {Part::TopSashHinge, {QStringLiteral("6742.08.00-B"), QStringLiteral("Петля на створке верхняя М"), QStringLiteral("-"), 0, 4, 0}},
            {Part::TiltHinge, {QStringLiteral("6742.15.00"), QStringLiteral("Петля откидная"), QStringLiteral("-"), 0, 4, 0}},
            {Part::TopFrameHinge, {QStringLiteral("6742.09.00"), QStringLiteral("Петля верхняя на раме М"), QStringLiteral("-"), 0, 0, 4}},
            {Part::BottomSashHinge, {QStringLiteral("6742.10.00"), QStringLiteral("Петля нижняя на створке М"), QStringLiteral("-"), 0, 0, 3}},
            {Part::BottomFrameHinge, {QStringLiteral("6742.11.00"), QStringLiteral("Петля нижняя на раме М"), QStringLiteral("-"), 0, 0, 4}},
            {Part::MiddleClamp, {QStringLiteral("6742.00.10"), QStringLiteral("Прижим средний скрытый"), QStringLiteral("01000"), 0, 1, 0}},
            {Part::MiddleClampKeeper, {QStringLiteral("6742.00.11"), QStringLiteral("Зацеп прижима среднего"), QStringLiteral("-"), 0, 2, 0}},
            {Part::Fiksator, {QStringLiteral("6742.00.02"), QStringLiteral("Фиксатор"), QStringLiteral("00200"), 0, 0, 0}},
            {Part::Scissors, {QStringLiteral("6742.14.00"), QStringLiteral("Ножницы фрамужные"), QStringLiteral("011400"), 0, 2, 0}},
            {Part::Blocker, {QStringLiteral("6742.20.00"), QStringLiteral("Блокиратор"), QStringLiteral("20.00"), 0, 0, 0}},
            {Part::BlockerStop, {QStringLiteral("6742.21.00"), QStringLiteral("Упор блокиратора"), QStringLiteral("-"), 0, 2, 0}},
            {Part::Ventilator, {QStringLiteral("6742.22.00"), QStringLiteral("Проветриватель ступенчатый"), QStringLiteral("12200"), 0, 0, 0}},
            {Part::VentilatorKeeper, {QStringLiteral("6742.00.03"), QStringLiteral("Зацеп проветривателя"), QStringLiteral("-"), 0, 2, 0}},
            {Part::MicroventStrip, {QStringLiteral("6742.00.01"), QStringLiteral("Планка микровентиляции"), QStringLiteral("-"), 0, 1, 0}},
            {Part::BalconyLatch, {QStringLiteral("6742.23.00"), QStringLiteral("Балконная защелка"), QStringLiteral("012300"), 0, 2, 0}},
            {Part::Shim, {QStringLiteral("6742.00.14"), QStringLiteral("Подкладка"), QStringLiteral("-"), 0, 0, 0}},
            {Part::Handle, {QStringLiteral("0317.00-01"), QStringLiteral("Ручка оконная"), QStringLiteral("-"), 0, 0, 0}},
            {Part::TiltTurnLock, {QStringLiteral("6742.06.00"), QStringLiteral("Запор поворотно-откидной"), QStringLiteral("06.00"), 0, 2, 0}},
            {Part::TiltTurnStrip, {QStringLiteral("6742.13.00"), QStringLiteral("Планка пов.-откидная"), QStringLiteral("-"), 0, 2, 0}},
            {Part::CapB1, {QStringLiteral("6742.00.05"), QStringLiteral("Накладка декор.В1"), QStringLiteral("-"), 0, 0, 0}},
            {Part::CapB2, {QStringLiteral("6742.00.06"), QStringLiteral("Накладка декор.В2"), QStringLiteral("-"), 0, 0, 0}},
            {Part::CapH1, {QStringLiteral("6742.00.07"), QStringLiteral("Накладка декор.H1"), QStringLiteral("-"), 0, 0, 0}},
            {Part::CapH2, {QStringLiteral("6742.00.08"), QStringLiteral("Накладка декор.H2"), QStringLiteral("-"), 0, 0, 0}},
            {Part::CapH3, {QStringLiteral("6742.00.09"), QStringLiteral("Накладка декор.H3"), QStringLiteral("-"), 0, 0, 0}},
        };
        std::array<TMyLIR, size_t(Part::Count)> a;
        for (const auto& [part, line] : table)
            a[size_t(part)] = line;
        return a;
    }();
    return all;
}

} // namespace

QString keptText(const QString& text)
{
    constexpr qsizetype Bound = 1 << 14;
    static QMutex lock;
    // Never freed: a calculator's texts may be read until the very end of the run.
    static QSet<QString>* const kept = new QSet<QString>;
    if (text.isEmpty())
        return text;
    const QMutexLocker locker(&lock);
    auto it = kept->constFind(text);
    if (it == kept->cend()) {
        if (kept->size() >= Bound)
            return text;
        it = kept->insert(text);
    }
    return QString::fromRawData(it->constData(), it->size());
}

const TMyLIR& catalogueLine(Part part)
{
    return lines()[size_t(part)];
}

PartsTable catalogueOf(const QVector<Part>& rows, const QVector<OwnText>& ownTexts)
{
    PartsTable table;
    table.reserve(rows.size());
    for (Part p : rows) {
        TMyLIR line = catalogueLine(p);
        for (const OwnText& own : ownTexts)
            if (own.part == p)
                line.*own.field = own.text;
        table.append(line);
    }
    return table;
}

} // namespace lir
