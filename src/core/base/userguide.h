#pragma once

#include <QString>

namespace lir {

// The user guide that the About window opens. In this order: the guide
// installed beside the program (<programDir>/../share/doc/lircomplect/index.html);
// for a program run from its build folder, the guide of the source tree it was
// built from, else that tree's README; the guide of the installed package
// (`installedGuide`, /usr/share/doc/lircomplect/index.html). Empty when none
// of them exists.
QString userGuidePath(const QString& programDir, const QString& installedGuide);
QString userGuidePath(const QString& programDir);
// The same for the running program.
QString userGuidePath();

} // namespace lir
