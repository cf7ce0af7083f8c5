// lircomplect-kit killed at random moments while it saves orders: after
// every kill the order table passes SQLite's integrity check, every order
// in it is whole (its header and all its kits), and every save that was
// answered "ok" is there. The next run is never kept out by what the killed
// one left (its lock file, its journal). LIR_KILLS sets the number of kills
// for a longer run by hand.
#include "support/testsupport.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <cstdio>

#include <signal.h>
#include <unistd.h>

namespace {

const QByteArrayList kits = {
    R"({"calculator":"6741","FFH":600,"FFB":500,"add_to_order":true})",
    R"({"calculator":"6742","FFH":1400,"FFB":700,"add_to_order":true})",
    R"({"calculator":"6741otkid","FFH":500,"FFB":800,"add_to_order":true})",
};

struct Check
{
    QString integrity;
    int orders = 0;
    QStringList faults; // torn, misnumbered or foreign rows
    QSet<QString> names;
};

// Every order of zakaz.db read whole: a header "r<run> n<kits>" followed by
// exactly that many kit rows pointing at it, numbers consecutive.
Check checkTable(const QString& file)
{
    Check c;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("killcheck"));
        db.setDatabaseName(file);
        if (!db.open()) {
            c.integrity = db.lastError().text();
        } else {
            QSqlQuery q(db);
            q.exec(QStringLiteral("PRAGMA integrity_check"));
            c.integrity = q.next() ? q.value(0).toString() : q.lastError().text();
            q.exec(QStringLiteral(R"(SELECT "Id", "Name", "Parentid" FROM zakaz ORDER BY rowid)"));
            QVector<std::tuple<int, QString, int>> rows;
            while (q.next())
                rows.push_back({q.value(0).toInt(), q.value(1).toString(), q.value(2).toInt()});
            static const QRegularExpression header(QStringLiteral("^r\\d+ s\\d+ n(\\d+)$"));
            for (int i = 0; i < rows.size();) {
                const auto& [id, name, parent] = rows[i];
                const QRegularExpressionMatch m = header.match(name);
                if (parent != 0 || id != i + 1 || !m.hasMatch()) {
                    c.faults << QStringLiteral("row %1 is no header: %2 %3 %4").arg(i + 1).arg(id).arg(name).arg(parent);
                    break;
                }
                const int n = m.captured(1).toInt();
                for (int k = 1; k <= n; ++k)
                    if (i + k >= rows.size() || std::get<0>(rows[i + k]) != id + k || std::get<2>(rows[i + k]) != id)
                        c.faults << QStringLiteral("order %1 (%2) is torn at kit %3").arg(id).arg(name).arg(k);
                ++c.orders;
                c.names.insert(name);
                i += 1 + n;
            }
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("killcheck"));
    return c;
}

} // namespace

TEST(KillSaves, AKilledSaveLeavesEveryOrderWholeAndNothingAnsweredIsLost)
{
    LIR_FILES_ONLY();
    lir::test::ScopedWorkDir work;
    const int kills = qEnvironmentVariableIsSet("LIR_KILLS") ? qEnvironmentVariableIntValue("LIR_KILLS") : 24;
    QRandomGenerator rnd(20261210);
    QSet<QString> answered; // saves the program answered with "ok":true
    QElapsedTimer clock;
    clock.start();
    for (int run = 0; run < kills; ++run) {
        // One order saved after each kit added: order n has n kits.
        QByteArray in;
        QStringList saves;
        for (int n = 1; n <= 6; ++n) {
            in += kits[rnd.bounded(kits.size())] + '\n';
            saves << QStringLiteral("r%1 s%2 n%3").arg(run).arg(n).arg(n);
            in += R"({"order":"save","description":")" + saves.last().toUtf8() + "\"}\n";
        }
        QProcess p;
        p.setWorkingDirectory(work.path());
        p.start(QStringLiteral(LIR_BINARY_DIR "/lircomplect-kit"), {});
        ASSERT_TRUE(p.waitForStarted());
        p.write(in);
        // Killed after a random number of answers, a random moment later:
        // before, during or after any of the saves.
        const int waitFor = rnd.bounded(2 * saves.size());
        QByteArrayList answers;
        while (answers.size() < waitFor && p.waitForReadyRead(20000))
            while (p.canReadLine())
                answers << p.readLine();
        ::usleep(useconds_t(rnd.bounded(4000)));
        ::kill(pid_t(p.processId()), SIGKILL);
        ASSERT_TRUE(p.waitForFinished(20000));
        while (p.canReadLine())
            answers << p.readLine();
        for (qsizetype a = 0; a < answers.size(); ++a)
            if (a % 2 == 1) {
                ASSERT_TRUE(answers[a].startsWith(R"({"ok":true)")) << answers[a].left(300).constData();
                answered.insert(saves[a / 2]);
            }

        const Check c = checkTable(work.file(QStringLiteral("zakaz.db")));
        if (!QFile::exists(work.file(QStringLiteral("zakaz.db"))))
            continue;
        ASSERT_EQ(c.integrity, QStringLiteral("ok")) << "after kill " << run;
        ASSERT_EQ(c.faults, QStringList()) << "after kill " << run;
        for (const QString& name : std::as_const(answered))
            ASSERT_TRUE(c.names.contains(name)) << name.toStdString() << " was answered ok and is lost";
    }
    const Check last = checkTable(work.file(QStringLiteral("zakaz.db")));
    EXPECT_GE(last.orders, answered.size());
    std::printf("%d kills, %d orders checked whole, %lld answered saves all kept, %.1f s\n", kills, last.orders,
                qlonglong(answered.size()), double(clock.elapsed()) / 1000);
}
