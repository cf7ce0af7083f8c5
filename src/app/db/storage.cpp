#include "app/db/storage.h"

#include <QDir>

namespace lir::db {

// The operations of the storage layer are written in their own change.
namespace {
QString g_dir;
}

void setNetFileDir(const QString& dir)
{
    g_dir = dir;
}

QString netFileDir()
{
    return g_dir.isEmpty() ? QDir::currentPath() : g_dir;
}

struct Table::Impl
{
};

Table::~Table() = default;

void Table::closeAll()
{
}

} // namespace lir::db
