#pragma once

class QCoreApplication;

namespace lir {

// Gives Qt's own texts (the buttons and questions of the file dialog, the
// storage driver's messages) in Russian, from Qt's installed translation.
// Returns false, and leaves the English texts, when it is not installed.
bool installQtTranslation(QCoreApplication& app);

} // namespace lir
