// The dialogs seam: a scoped swap for the length of a block, and the one
// place that shows what a failed operation threw.
#include "core/base/dialogs.h"
#include "core/base/error.h"
#include "support/testsupport.h"

#include <stdexcept>

using namespace lir;

TEST(Dialogs, ScopedSwapPutsThePreviousDialogsBackHoweverTheBlockEnds)
{
    Dialogs* const outer = &dialogs();
    RecordingDialogs inner;
    {
        const ScopedDialogs swap(inner);
        dialogs().errorBox(QStringLiteral("inside"));
        try {
            RecordingDialogs innermost;
            const ScopedDialogs nested(innermost);
            throw std::runtime_error("leaves the block");
        } catch (const std::runtime_error&) {
        }
        EXPECT_EQ(&dialogs(), &inner);
    }
    EXPECT_EQ(&dialogs(), outer);
    EXPECT_EQ(inner.errors(), QStringList{QStringLiteral("inside")});
}

TEST(Dialogs, AFailureShowsItsMessageInTheErrorBox)
{
    RecordingDialogs shown;
    const ScopedDialogs swap(shown);
    EXPECT_FALSE(runGuarded([] { throw Error(QStringLiteral("Не удалось записать файл a.html")); }));
    EXPECT_FALSE(runGuarded([] { throw std::runtime_error("disk full"); }));
    EXPECT_TRUE(runGuarded([] {}));
    EXPECT_EQ(shown.errors(), (QStringList{QStringLiteral("Не удалось записать файл a.html"), QStringLiteral("disk full")}));
}
