#include "calc/turnkit.h"
#include "support/testsupport.h"

TEST(Frame, Placeholder)
{
    lir::TurnKit k;
    EXPECT_EQ(k.gh(), 0);
}
