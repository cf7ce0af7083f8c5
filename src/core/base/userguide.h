#pragma once

#include <QString>

namespace lir {

// The user guide that the About window opens. In this order: the guide
// installed beside the program (<programDir>/../share/doc/lircomplect/index.html),
// the guide of the source tree the program was built from, that tree's README.
// Empty when none of them exists.
QString userGuidePath(const QString& programDir);
// The same for the running program.
QString userGuidePath();

} // namespace lir
