// SPDX-License-Identifier: MIT
// rtfreport --sql: a query's rows as a data set, read-only, and the errors it can meet.
#include "fbtestdb.h"

#include <firebird/ibdatabase.h>
#include <firebird/ibquery.h>

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

using zc::fb::testing::RemedyDatabase;

namespace {

const QString tool = QStringLiteral(ZC_BINARY_DIR "/tools/rtfreport/rtfreport");

struct Result
{
    int code = -1;
    QByteArray out;
    QByteArray err;
};

Result runTool(const QStringList &args)
{
    QProcess p;
    p.start(tool, args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

int rowCount(const QString &path)
{
    zc::fb::IB_DbZColor db;
    db.SetDatabaseName(path);
    db.Open();
    zc::fb::IBTransaction tr(&db);
    zc::fb::IB_QryGen q(db, tr);
    q.SetSQL(QStringLiteral("SELECT COUNT(*) FROM RIMEDI"));
    q.Open();
    return q.Value(0).toInt();
}

} // namespace

TEST(RtfReportSql, a_query_scans_like_any_data_set_and_cannot_change_the_database)
{
    ASSERT_TRUE(QFile::exists(tool)) << "rtfreport is not built";
    RemedyDatabase db;
    db.Insert(QStringLiteral("ENG"), QStringLiteral("RUBY"), QStringLiteral("warmth"));
    db.Insert(QStringLiteral("ENG"), QStringLiteral("OPAL"), QStringLiteral("calm"));
    db.Release(); // one process at a time on an embedded database
    const QString t = db.Dir().filePath(QStringLiteral("t.rtf"));
    QFile f(t);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(R"({\rtf1 \\SCAN(G)\\[\\G:PIETRA\\: \\A:NOTE\\]\\ENDSCAN\\})");
    f.close();

    Result r = runTool({QStringLiteral("--database"), db.Path(), QStringLiteral("--sql"),
                        QStringLiteral("G=SELECT PIETRA, NOTE FROM RIMEDI ORDER BY PIETRA"), t});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out,
              QByteArray(R"({\rtf1 [\lang0 OPAL: \lang0 calm][\lang0 RUBY: \lang0 warmth]})"));

    r = runTool({QStringLiteral("--database"), db.Path(), QStringLiteral("--sql"),
                 QStringLiteral("G=DELETE FROM RIMEDI"), t});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("read-only")) << r.err.toStdString();
    EXPECT_EQ(rowCount(db.Path()), 2) << "the read-only transaction kept the rows";

    r = runTool({QStringLiteral("--sql"), QStringLiteral("G=SELECT 1 FROM RDB$DATABASE"), t});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.startsWith("rtfreport: --sql needs --database\n")) << r.err.toStdString();

    const QString missing = db.Dir().filePath(QStringLiteral("absent.fdb"));
    r = runTool({QStringLiteral("--database"), missing, QStringLiteral("--sql"),
                 QStringLiteral("G=SELECT 1 FROM RDB$DATABASE"), t});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(missing.toLocal8Bit())) << r.err.toStdString();
}
