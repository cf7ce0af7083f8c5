#include "app/startup.h"
#include "core/base/buildinfo.h"

int main(int argc, char** argv)
{
    lir::gui::LirApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("LIRComplect"));
    QApplication::setApplicationVersion(QStringLiteral(LIR_VERSION));
    return lir::gui::runProgram(app);
}
