#pragma once

#include "core/db/storage.h"

#include <QString>
#include <QStringList>

// Who may do what on a shared PostgreSQL store. The server keeps the
// guarantees: two group roles hold the rights, and a trigger on the price
// table writes every change into the change log, which neither role may
// alter. The program only asks the server what the account may do, to
// disable what would be refused anyway.
namespace lir::prices {

inline QString estimatorRole() { return QStringLiteral("lircomplect_estimator"); }
inline QString pricingRole() { return QStringLiteral("lircomplect_pricing"); }

// Over the server: creates what is missing of the roles, the grants, the
// change log and its trigger, in one transaction, on the price table's
// connection (the database owner's; creating roles needs CREATEROLE). Every
// other table of the schema becomes the estimators' to read and write.
// Returns one line for every step, saying what was done or found.
QStringList setupServer(db::Table& prices);

// Adds a login to one of the two groups ("estimator" or "pricing"), or takes
// it out of both; a missing group names the command that makes it.
QString grantRole(db::Table& prices, const QString& group, const QString& login);
QString revokeRoles(db::Table& prices, const QString& login);

// The account may change prices: always over the files; on a server, when
// it may update and insert into the price table.
bool mayChangePrices(db::Table& prices);
// Why it may not, as the price window and the messages say it.
QString pricesReadOnlyReason();
// What the catalogue update at start says when it would add rows the account may not write.
QString updateNeedsPricing();

// On a server whose trigger keeps the log: names the source (and the import
// batch, 0 for none) of the changes of the open transaction, so that the
// trigger records them. False when the server has no such trigger.
bool nameServerSource(db::Table& prices, const QString& source, qint64 batch);

} // namespace lir::prices
