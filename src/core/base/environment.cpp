#include "core/base/environment.h"

namespace lir {

Environment& environment()
{
    static Environment e;
    return e;
}

} // namespace lir
