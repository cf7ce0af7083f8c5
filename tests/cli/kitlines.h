#pragma once

// What the tests of lircomplect-kit's lines share: a line sent through the
// program's own processing, its answer read as a JSON object.
#include "cli/kit/kitcli.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace lir::test {

inline QJsonObject send(cli::KitCli& cli, const QByteArray& line)
{
    const QByteArray out = cli.processLine(line);
    const QJsonDocument doc = QJsonDocument::fromJson(out);
    EXPECT_TRUE(doc.isObject()) << out.constData();
    return doc.object();
}

} // namespace lir::test
