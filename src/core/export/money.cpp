#include "core/export/money.h"

#include <QStringList>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace lir::money {

namespace {

__extension__ typedef unsigned __int128 Wide;

// Beyond ten trillion roubles a quote is certainly a typing error.
constexpr Kopecks Limit = 1'000'000'000'000'000LL;

// A finite, non-zero double as mantissa × 2^exponent with the mantissa odd.
struct Binary
{
    std::uint64_t mantissa = 0;
    int exponent = 0;
};

Binary binaryOf(double v)
{
    int e = 0;
    const double f = std::frexp(std::fabs(v), &e); // [0.5, 1)
    Binary b{std::uint64_t(std::ldexp(f, 53)), e - 53};
    const int zeros = std::countr_zero(b.mantissa);
    b.mantissa >>= zeros;
    b.exponent += zeros;
    return b;
}

// m × 2^e rounded to a whole number, halves up (m is a magnitude).
std::optional<Kopecks> roundedMagnitude(Wide m, int e)
{
    if (m == 0)
        return 0;
    if (e >= 0) {
        if (e > 60 || m > (Wide(Limit) >> e))
            return std::nullopt;
        return Kopecks(m << e);
    }
    const int s = -e;
    if (s >= 127)
        return 0; // m < 2^117: far below half a kopeck
    const Wide whole = m >> s;
    const Wide rest = m & ((Wide(1) << s) - 1);
    const Wide half = Wide(1) << (s - 1);
    const Wide r = whole + (rest >= half ? 1 : 0);
    if (r > Wide(Limit))
        return std::nullopt;
    return Kopecks(r);
}

const std::array<const char*, 20> units = {
    "",           "один",        "два",        "три",         "четыре",       "пять",        "шесть",
    "семь",       "восемь",      "девять",     "десять",      "одиннадцать",  "двенадцать",  "тринадцать",
    "четырнадцать", "пятнадцать", "шестнадцать", "семнадцать", "восемнадцать", "девятнадцать"};
const std::array<const char*, 10> tens = {"",         "",          "двадцать",   "тридцать",  "сорок",
                                          "пятьдесят", "шестьдесят", "семьдесят", "восемьдесят", "девяносто"};
const std::array<const char*, 10> hundreds = {"",        "сто",      "двести",    "триста",    "четыреста",
                                              "пятьсот", "шестьсот", "семьсот",   "восемьсот", "девятьсот"};

// 1..999 in words.
void tripletWords(int n, bool feminine, QStringList& out)
{
    if (n >= 100)
        out << QString::fromUtf8(hundreds[size_t(n / 100)]);
    n %= 100;
    if (n >= 20) {
        out << QString::fromUtf8(tens[size_t(n / 10)]);
        n %= 10;
    }
    if (n == 0)
        return;
    if (feminine && n == 1)
        out << QStringLiteral("одна");
    else if (feminine && n == 2)
        out << QStringLiteral("две");
    else
        out << QString::fromUtf8(units[size_t(n)]);
}

} // namespace

std::optional<Kopecks> lineSum(double price, qint64 quantity, float factor)
{
    if (!std::isfinite(price) || !std::isfinite(factor))
        return std::nullopt;
    if (price == 0 || quantity == 0 || factor == 0)
        return 0;
    if (quantity > 0xFFFFFFFFLL || quantity < -0xFFFFFFFFLL)
        return std::nullopt;
    const bool negative = (price < 0) ^ (quantity < 0) ^ (factor < 0);
    const Binary p = binaryOf(price);
    const Binary k = binaryOf(double(factor)); // at most 24 bits
    // 53 + 24 + 32 + 7 bits: the exact product times 100 fits 128 bits.
    const Wide m = Wide(p.mantissa) * k.mantissa * std::uint64_t(std::llabs(quantity)) * 100u;
    const std::optional<Kopecks> r = roundedMagnitude(m, p.exponent + k.exponent);
    if (!r)
        return std::nullopt;
    return negative ? -*r : *r;
}

std::optional<Kopecks> fromRoubles(double roubles)
{
    return lineSum(roubles, 1, 1.0f);
}

Kopecks scaled(Kopecks amount, qint64 numerator, qint64 denominator)
{
    const bool negative = (amount < 0) != (numerator < 0);
    const Wide m = Wide(std::uint64_t(std::llabs(amount))) * std::uint64_t(std::llabs(numerator));
    const Wide d = Wide(std::uint64_t(denominator));
    Wide q = m / d;
    if ((m % d) * 2 >= d)
        ++q;
    return negative ? -Kopecks(q) : Kopecks(q);
}

Kopecks vatIncluded(Kopecks total, int rateHundredths)
{
    return scaled(total, rateHundredths, 10000 + qint64(rateHundredths));
}

Kopecks vatOnTop(Kopecks total, int rateHundredths)
{
    return scaled(total, rateHundredths, 10000);
}

QString format(Kopecks amount)
{
    const std::uint64_t a = std::uint64_t(std::llabs(amount));
    QString whole = QString::number(a / 100);
    for (qsizetype i = whole.size() - 3; i > 0; i -= 3)
        whole.insert(i, u' ');
    return (amount < 0 ? QStringLiteral("-") : QString()) + whole + u','
           + QStringLiteral("%1").arg(a % 100, 2, 10, QLatin1Char('0'));
}

QString rateText(int rateHundredths)
{
    QString t = QString::number(rateHundredths / 100);
    if (const int rest = rateHundredths % 100) {
        t += u',' + QStringLiteral("%1").arg(rest, 2, 10, QLatin1Char('0'));
        if (t.endsWith(u'0'))
            t.chop(1);
    }
    return t;
}

QString plural(qint64 n, const QString& one, const QString& few, const QString& many)
{
    const qint64 a = n < 0 ? -n : n;
    if (a % 100 >= 11 && a % 100 <= 14)
        return many;
    if (a % 10 == 1)
        return one;
    if (a % 10 >= 2 && a % 10 <= 4)
        return few;
    return many;
}

QString numberInWords(qint64 n, bool feminine)
{
    if (n == 0)
        return QStringLiteral("ноль");
    QStringList out;
    if (n < 0)
        out << QStringLiteral("минус");
    std::uint64_t a = std::uint64_t(n < 0 ? -n : n);
    struct Scale
    {
        std::uint64_t size;
        bool feminine;
        const char *one, *few, *many;
    };
    static const std::array<Scale, 4> scales = {{
        {1'000'000'000'000ULL, false, "триллион", "триллиона", "триллионов"},
        {1'000'000'000ULL, false, "миллиард", "миллиарда", "миллиардов"},
        {1'000'000ULL, false, "миллион", "миллиона", "миллионов"},
        {1'000ULL, true, "тысяча", "тысячи", "тысяч"},
    }};
    for (const Scale& s : scales) {
        const int part = int(a / s.size % 1000);
        if (part == 0)
            continue;
        tripletWords(part, s.feminine, out);
        out << plural(part, QString::fromUtf8(s.one), QString::fromUtf8(s.few), QString::fromUtf8(s.many));
    }
    if (const int last = int(a % 1000))
        tripletWords(last, feminine, out);
    return out.join(u' ');
}

QString inWords(Kopecks amount)
{
    const qint64 roubles = amount / 100;
    const qint64 kopecks = std::llabs(amount % 100);
    QString words = numberInWords(roubles, false);
    if (amount < 0 && roubles == 0)
        words = QStringLiteral("минус ") + words;
    words[0] = words[0].toUpper();
    return words + u' ' + plural(roubles, QStringLiteral("рубль"), QStringLiteral("рубля"), QStringLiteral("рублей"))
           + u' ' + QStringLiteral("%1").arg(kopecks, 2, 10, QLatin1Char('0')) + u' '
           + plural(kopecks, QStringLiteral("копейка"), QStringLiteral("копейки"), QStringLiteral("копеек"));
}

} // namespace lir::money
