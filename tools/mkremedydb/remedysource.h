// SPDX-License-Identifier: MIT
// Reading the remedy database's sources: schema statements, gem keys, remedy texts.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <stdexcept>

namespace zc::remedies {

/// A source file is missing or malformed.
class ESourceError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/// One row of RIMEDI.
struct RemedyRow
{
    QString Lingua;
    QString Pietra;
    QString Note;
};

/// The statements of a schema file: "--" comment lines dropped, split at a ";" that
/// ends a line.
QStringList SchemaStatements(const QString &text);

/// Rows for every language folder under `folder` (its name is the language code) and
/// every gem of `gemsFile` ("NN<tab>KEY" lines, "#" comments): the text of NN.rtf.
/// Throws ESourceError naming the first missing file or bad line.
QList<RemedyRow> ReadRemedies(const QString &gemsFile, const QString &folder);

/// Builds `database` (which must not exist) from the sources.
void CreateRemedyDatabase(const QString &database, const QString &schemaFile,
                          const QString &gemsFile, const QString &folder);

} // namespace zc::remedies
