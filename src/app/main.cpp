#include "app/startup.h"

int main(int argc, char** argv)
{
    lir::gui::LirApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("LIRComplect"));
    QApplication::setApplicationVersion(QStringLiteral("1.5.2"));
    return lir::gui::runProgram(app);
}
