#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace lir::test {

// Runs one of the system's tools (poppler's pdftotext, pdfinfo ...) to its end
// and returns what it printed; a tool that fails fails the test.
inline QString runProgram(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    EXPECT_TRUE(p.waitForFinished(60000)) << program.toStdString();
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace lir::test
