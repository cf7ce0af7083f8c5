#include "core/prices/serveraccess.h"

#include "core/base/error.h"
#include "core/prices/pricelog.h"
#include "core/prices/pricetable.h"
#include "core/prices/pricetexts.h"

#include <algorithm>

namespace lir::prices {

namespace {

const QString triggerName = QStringLiteral("zeni_log_change");

bool found(db::Table& t, const QString& sql, const QVariantList& binds)
{
    return !t.query(sql, binds).isEmpty();
}

bool roleExists(db::Table& t, const QString& role)
{
    return found(t, QStringLiteral("SELECT 1 FROM pg_catalog.pg_roles WHERE rolname = ?"), {role});
}

// A statement naming roles or tables: the server quotes the names itself
// (format's %I), so that a login of any spelling arrives as one identifier.
void runFormatted(db::Table& t, const QString& pattern, const QVariantList& names)
{
    QString call = QStringLiteral("SELECT format(?");
    for (qsizetype i = 0; i < names.size(); ++i)
        call += QStringLiteral(", ?::text");
    const auto sql = t.query(call + u')', QVariantList{pattern} + names);
    t.query(sql.value(0).value(0).toString());
}

bool triggerExists(db::Table& t)
{
    return found(t,
                 QStringLiteral("SELECT 1 FROM pg_catalog.pg_trigger WHERE tgname = ? AND tgrelid = to_regclass(?)"),
                 {triggerName, db::quoted(t.tableName())});
}

// Every change of a price, a name or a designation, every added and every
// removed row, written at commit, so that the source the program names
// anywhere in the transaction is known. It runs as the log's owner: the
// roles themselves may only read the log.
QString triggerFunction()
{
    const QString row = QStringLiteral(
        "INSERT INTO zeni_log (changed_at, login, source, designation, old_price, new_price, batch, old_name, "
        "new_name) VALUES (stamp, left(session_user, 100), left(src, 300), left(coalesce(%1.oboznashenie, ''), 200), "
        "%2, %3, batch_no, %4, %5);");
    return QStringLiteral(
               "CREATE OR REPLACE FUNCTION %I.zeni_log_change() RETURNS trigger LANGUAGE plpgsql SECURITY DEFINER "
               "SET search_path = %I, pg_temp AS $body$\n"
               "DECLARE\n"
               "  src text := coalesce(nullif(current_setting('lircomplect.source', true), ''), 'unnamed');\n"
               "  batch_no bigint := nullif(nullif(current_setting('lircomplect.batch', true), ''), '0')::bigint;\n"
               "  stamp text := to_char(clock_timestamp() AT TIME ZONE 'UTC', 'YYYY-MM-DD\"T\"HH24:MI:SS\"Z\"');\n"
               "BEGIN\n"
               "  IF TG_OP = 'INSERT' THEN\n"
               "    IF src LIKE 'import: %%' THEN src := 'import-new: ' || substr(src, 9); END IF;\n  ") +
           row.arg(QStringLiteral("NEW"), QStringLiteral("NULL"), QStringLiteral("NEW.zena"), QStringLiteral("NULL"),
                   QStringLiteral("NEW.nazvanie")) +
           QStringLiteral("\n  ELSIF TG_OP = 'DELETE' THEN\n  ") +
           row.arg(QStringLiteral("OLD"), QStringLiteral("OLD.zena"), QStringLiteral("NULL"),
                   QStringLiteral("OLD.nazvanie"), QStringLiteral("NULL")) +
           QStringLiteral("\n  ELSIF OLD.zena IS DISTINCT FROM NEW.zena OR OLD.nazvanie IS DISTINCT FROM NEW.nazvanie "
                          "OR OLD.oboznashenie IS DISTINCT FROM NEW.oboznashenie THEN\n  ") +
           row.arg(QStringLiteral("NEW"), QStringLiteral("OLD.zena"), QStringLiteral("NEW.zena"),
                   QStringLiteral("OLD.nazvanie"), QStringLiteral("NEW.nazvanie")) +
           QStringLiteral("\n  END IF;\n  RETURN NULL;\nEND\n$body$");
}

QString setupCommand()
{
    return QStringLiteral("lircomplect-prices setup-server");
}

void needRole(db::Table& t, const QString& role)
{
    if (!roleExists(t, role))
        throw Error(pricetexts::setupNotRun(QStringLiteral("группы ") + role, setupCommand()));
}

} // namespace

QStringList setupServer(db::Table& t)
{
    if (!t.onServer())
        throw Error(pricetexts::tablesInFiles());
    QStringList done;
    db::Transaction tx(t);
    for (const QString& role : {estimatorRole(), pricingRole()}) {
        if (roleExists(t, role)) {
            done << QStringLiteral("role %1: exists").arg(role);
        } else {
            t.query(QStringLiteral("CREATE ROLE ") + role + QStringLiteral(" NOLOGIN"));
            done << QStringLiteral("role %1: created").arg(role);
        }
    }
    // Whoever may change prices may also do what an estimator does.
    t.query(QStringLiteral("GRANT ") + estimatorRole() + QStringLiteral(" TO ") + pricingRole());

    // With the columns of the names, which a log made before them lacks.
    ensureLogTable(t);
    const QString schema = t.query(QStringLiteral("SELECT current_schema()")).value(0).value(0).toString();
    runFormatted(t, triggerFunction(), {schema, schema});
    runFormatted(t, QStringLiteral("REVOKE ALL ON FUNCTION %I.zeni_log_change() FROM PUBLIC"), {schema});
    if (triggerExists(t)) {
        done << QStringLiteral("trigger %1 on %2: exists").arg(triggerName, t.tableName());
    } else {
        t.query(QStringLiteral("CREATE CONSTRAINT TRIGGER ") + triggerName + QStringLiteral(" AFTER INSERT OR UPDATE "
                                                                                            "OR DELETE ON ") +
                db::quoted(t.tableName()) +
                QStringLiteral(" DEFERRABLE INITIALLY DEFERRED FOR EACH ROW EXECUTE FUNCTION zeni_log_change()"));
        done << QStringLiteral("trigger %1 on %2: created").arg(triggerName, t.tableName());
    }

    runFormatted(t, QStringLiteral("GRANT USAGE ON SCHEMA %I TO %I, %I"), {schema, estimatorRole(), pricingRole()});
    const auto tables = t.query(QStringLiteral("SELECT tablename FROM pg_catalog.pg_tables WHERE schemaname = "
                                               "current_schema() ORDER BY tablename"));
    for (const QVector<QVariant>& row : tables) {
        const QString table = row.value(0).toString();
        runFormatted(t, QStringLiteral("REVOKE ALL ON %I FROM PUBLIC"), {table});
        if (table == logTableName()) {
            // Read by both, written by the trigger alone: no row can be forged, changed or removed.
            runFormatted(t, QStringLiteral("REVOKE ALL ON %I FROM %I, %I"), {table, estimatorRole(), pricingRole()});
            runFormatted(t, QStringLiteral("GRANT SELECT ON %I TO %I"), {table, estimatorRole()});
            done << QStringLiteral("table %1: read by %2 and %3, written by the trigger only")
                        .arg(table, estimatorRole(), pricingRole());
        } else if (table == t.tableName()) {
            runFormatted(t, QStringLiteral("REVOKE ALL ON %I FROM %I"), {table, estimatorRole()});
            runFormatted(t, QStringLiteral("GRANT SELECT ON %I TO %I"), {table, estimatorRole()});
            runFormatted(t, QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON %I TO %I"),
                         {table, pricingRole()});
            done << QStringLiteral("table %1: read by %2, changed by %3").arg(table, estimatorRole(), pricingRole());
        } else {
            runFormatted(t, QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON %I TO %I"),
                         {table, estimatorRole()});
            done << QStringLiteral("table %1: read and written by %2 and %3")
                        .arg(table, estimatorRole(), pricingRole());
        }
    }
    tx.done();
    return done;
}

QString grantRole(db::Table& t, const QString& group, const QString& login)
{
    const QString role = group == u"estimator" ? estimatorRole() : group == u"pricing" ? pricingRole() : QString();
    if (role.isEmpty())
        throw Error(pricetexts::noSuchGroup(group));
    needRole(t, role);
    if (!roleExists(t, login))
        throw Error(pricetexts::noSuchAccount(login));
    runFormatted(t, QStringLiteral("GRANT %I TO %I"), {role, login});
    return QStringLiteral("granted %1 to %2").arg(role, login);
}

QString revokeRoles(db::Table& t, const QString& login)
{
    needRole(t, estimatorRole());
    needRole(t, pricingRole());
    if (!roleExists(t, login))
        throw Error(pricetexts::noSuchAccount(login));
    runFormatted(t, QStringLiteral("REVOKE %I, %I FROM %I"), {estimatorRole(), pricingRole(), login});
    return QStringLiteral("revoked %1 and %2 from %3").arg(estimatorRole(), pricingRole(), login);
}

bool mayChangePrices(db::Table& t)
{
    if (!t.onServer())
        return true;
    const auto r = t.query(QStringLiteral("SELECT has_table_privilege(?, 'UPDATE') AND has_table_privilege(?, 'INSERT')"),
                           {db::quoted(t.tableName()), db::quoted(t.tableName())});
    return r.value(0).value(0).toBool();
}

QString pricesReadOnlyReason()
{
    return pricetexts::readOnlyPrices(pricingRole());
}

QString updateNeedsPricing()
{
    return pricetexts::updateNeedsPricing(pricingRole());
}

bool nameServerSource(db::Table& t, const QString& source, qint64 batch)
{
    if (!t.onServer() || !triggerExists(t))
        return false;
    t.query(QStringLiteral("SELECT set_config('lircomplect.source', ?, true), set_config('lircomplect.batch', ?, true)"),
            {source, QString::number(std::max<qint64>(batch, 0))});
    return true;
}

} // namespace lir::prices
