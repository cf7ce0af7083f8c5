// The two number forms round the exact binary value once, halves away from
// zero. Every value below is written out exactly as the double holds it.
#include "core/base/numberformat.h"
#include "support/testsupport.h"

#include <iomanip>

using namespace lir;

namespace {

const QLocale russian(QLocale::Russian, QLocale::Russia);

struct Case
{
    double value;
    const char* text;
};

} // namespace

TEST(NumberRounding, TwoDecimalsRoundTheExactValueOnceHalvesAwayFromZero)
{
    const Case cases[] = {
        // Ties: up, whatever the digit before.
        {0.125, "0,13"},
        {0.375, "0,38"},
        {1.125, "1,13"},
        {-0.125, "-0,13"},
        {100000.25, "100000,30"}, // six integer digits leave one decimal
        {1000000.5, "1000001,00"},
        {9999999.5, "1,000000E+007"},
        {12345665.0, "1,234567E+007"},
        // Near-ties: the exact value decides, never a rounded one.
        {234.55499267578125, "234,55"}, // a single-precision total
        {2.67499999999999982236431605997495353221893310546875, "2,67"},
        {1.00499999999999989341858963598497211933135986328125, "1,00"},
        {0.04499999999999999833466546306226518936455249786376953125, "0,04"},
        {0.005000000000000000104083408558608425664715468883514404296875, "0,01"},
        {100000.35000000000582076609134674072265625, "100000,40"},
        {100000.14999999999417923390865325927734375, "100000,10"},
        {99999.994999999995343387126922607421875, "99999,99"},
        // 123,45 with a markup of 10: the factor 1.1 in single precision.
        {135.795002943277353324447176419198513031005859375, "135,80"},
        {10.625000298023223876953125, "10,63"},
        // Nothing left: no minus sign.
        {-0.0040000000000000000832667268468867405317723751068115234375, "0,00"},
        {0.0, "0,00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(numfmt::fixed2(c.value, russian), QString::fromLatin1(c.text)) << std::setprecision(40) << c.value;
    EXPECT_EQ(numfmt::fixed2(123.45 * double(1.1f), russian), QStringLiteral("135,80"));
}

TEST(NumberRounding, FifteenDigitsRoundTheExactValueOnceHalvesAwayFromZero)
{
    const Case cases[] = {
        {99999999999999.25, "99999999999999,3"},
        {-99999999999999.25, "-99999999999999,3"},
        {1234567890123445.0, "1,23456789012345E15"},
        {999999999999999.5, "1E15"},
        {1500000000000000.0, "1,5E15"},
        {12345.678901234548902721144258975982666015625, "12345,6789012345"},
        {0.1234567890123454969586447305118781514465808868408203125, "0,123456789012345"},
        {0.3000000000000000444089209850062616169452667236328125, "0,3"},
        {135.795002943277353324447176419198513031005859375, "135,795002943277"},
        {0.000001250000000000000102253817392539136932327892282046377658843994140625, "1,25E-6"},
        {0.000010000000000000000818030539140313095458623138256371021270751953125, "0,00001"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(numfmt::shortest(c.value, russian), QString::fromLatin1(c.text)) << std::setprecision(40) << c.value;
}
