#include "cli/prices/pricescli.h"
#include "core/base/qttranslation.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // The storage engine's messages in Russian, as lircomplect-kit gives them.
    lir::installQtTranslation(app);
    const lir::cli::PricesCli::Result r = lir::cli::PricesCli().run(app.arguments().mid(1));
    std::fwrite(r.out.constData(), 1, size_t(r.out.size()), stdout);
    std::fwrite(r.err.constData(), 1, size_t(r.err.size()), stderr);
    return r.status;
}
