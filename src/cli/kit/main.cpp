#include "cli/kit/kitcli.h"
#include "core/base/qttranslation.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // The storage driver's and the file layer's messages reach the answers.
    lir::installQtTranslation(app);
    lir::cli::KitCli cli;
    return cli.run(stdin, stdout);
}
