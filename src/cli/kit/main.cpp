#include "cli/kit/kitcli.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    lir::cli::KitCli cli;
    return cli.run(stdin, stdout);
}
