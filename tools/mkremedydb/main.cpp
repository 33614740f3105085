// SPDX-License-Identifier: MIT
// mkremedydb OUT.fdb SCHEMA.sql GEMS.txt FOLDER: builds the remedy database.
#include "remedysource.h"

#include <firebird/fbengine.h>
#include <firebird/fberror.h>

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5) {
        std::fprintf(stderr, "usage: mkremedydb OUT.fdb SCHEMA.sql GEMS.txt FOLDER\n");
        return 2;
    }
    // Built under a temporary name, so an interrupted run never leaves a database that
    // looks complete.
    const QString out = args[1];
    const QString partial = out + QStringLiteral(".partial");
    QFile::remove(partial);
    int rc = 0;
    try {
        zc::remedies::CreateRemedyDatabase(partial, args[2], args[3], args[4]);
        QFile::remove(out);
        if (!QFile::rename(partial, out))
            throw std::runtime_error("Cannot rename " + partial.toStdString());
    } catch (const std::exception &e) {
        std::fprintf(stderr, "mkremedydb: %s\n", e.what());
        QFile::remove(partial);
        rc = 1;
    }
    zc::fb::ShutdownEngine();
    return rc;
}
