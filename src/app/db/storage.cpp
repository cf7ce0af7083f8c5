#include "app/db/storage.h"

namespace lir::db {

// The operations of the storage layer are written in their own change.
struct Table::Impl
{
};

Table::~Table() = default;

} // namespace lir::db
