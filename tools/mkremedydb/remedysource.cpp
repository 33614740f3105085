// SPDX-License-Identifier: MIT
// Source parsing and the database build of mkremedydb.
#include "remedysource.h"

#include <firebird/ibdatabase.h>
#include <firebird/ibquery.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace zc::remedies {

namespace {

QString readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ESourceError("Cannot read " + path.toStdString());
    return QString::fromUtf8(file.readAll());
}

} // namespace

QStringList SchemaStatements(const QString &text)
{
    QStringList statements;
    QString current;
    for (const QString &line : text.split(u'\n')) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1String("--")) || trimmed.isEmpty())
            continue;
        current += line + u'\n';
        if (trimmed.endsWith(u';')) {
            current = current.trimmed();
            current.chop(1);
            statements.append(current);
            current.clear();
        }
    }
    if (!current.trimmed().isEmpty())
        statements.append(current.trimmed());
    return statements;
}

QList<RemedyRow> ReadRemedies(const QString &gemsFile, const QString &folder)
{
    struct Gem
    {
        QString number;
        QString key;
    };
    QList<Gem> gems;
    static const QRegularExpression line(QStringLiteral("^(\\d+)\\t(.+)$"));
    for (const QString &raw : readText(gemsFile).split(u'\n')) {
        const QString text = raw.endsWith(u'\r') ? raw.chopped(1) : raw;
        if (text.isEmpty() || text.startsWith(u'#'))
            continue;
        const QRegularExpressionMatch m = line.match(text);
        if (!m.hasMatch())
            throw ESourceError("Bad gem line in " + gemsFile.toStdString() + ": " +
                               text.toStdString());
        gems.append({m.captured(1), m.captured(2)});
    }

    QList<RemedyRow> rows;
    const QStringList languages =
        QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &language : languages)
        for (const Gem &gem : gems)
            rows.append(
                {language, gem.key,
                 readText(folder + u'/' + language + u'/' + gem.number + QStringLiteral(".rtf"))});
    return rows;
}

void CreateRemedyDatabase(const QString &database, const QString &schemaFile,
                          const QString &gemsFile, const QString &folder)
{
    const QStringList schema = SchemaStatements(readText(schemaFile));
    const QList<RemedyRow> rows = ReadRemedies(gemsFile, folder);

    fb::IB_DbZColor::CreateDatabase(database);
    fb::IB_DbZColor db;
    db.SetDatabaseName(database);
    db.Open();
    {
        fb::IBTransaction ddl(&db);
        for (const QString &statement : schema)
            db.ExecuteImmediate(statement, ddl);
        ddl.Commit();
    }
    fb::IBTransaction tr(&db);
    fb::IB_QryGen insert(db, tr);
    insert.SetSQL(QStringLiteral("INSERT INTO RIMEDI (LINGUA, PIETRA, NOTE) VALUES (?, ?, ?)"));
    for (const RemedyRow &row : rows) {
        insert.SetParamValues({row.Lingua, row.Pietra, row.Note});
        insert.ExecSQL();
    }
    tr.Commit();
    db.Close();
}

} // namespace zc::remedies
