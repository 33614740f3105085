// SPDX-License-Identifier: MIT
// The remedy store: language codes, the two statements, and the one connection and query.
#pragma once

#include <firebird/fberror.h>
#include <firebird/ibdatabase.h>
#include <firebird/ibquery.h>

#include <QString>

#include <array>
#include <optional>

namespace zc {

/// Language code of a language number taken as an unsigned 16-bit value:
/// 0 "ITA", 1 "ENG", 2 "FRA", 3 "SPA", 4 "OLA", anything else "ENG".
QString LanguageCode(quint16 number);

/// The five language codes, in language-number order.
inline constexpr std::array<const char *, 5> LanguageCodes = {"ITA", "ENG", "FRA", "SPA", "OLA"};

/// "SELECT * FROM RIMEDI WHERE LINGUA = '<code>'".
QString LanguageLoadStatement(const QString &code);
/// "SELECT * FROM RIMEDI WHERE LINGUA = '<code>' AND PIETRA = '<gem key>'".
QString GemLookupStatement(const QString &code, const QString &gemKey);

/// The gem key sent for a menu item's hint. A hint with a plain apostrophe becomes the
/// fixed key "CAT\u0092S EYES", so a quote never reaches the statement.
QString GemKeyOfHint(const QString &hint);

/// The connection, its transaction and the query of the colour test, used in sequence.
class RemedyStore
{
public:
    RemedyStore();

    /// Database name as composed from the configuration (a path, or "host:path").
    void SetDatabaseName(const QString &name) { FDatabase.SetDatabaseName(name); }
    /// Connects; throws zc::fb::FbError with Firebird's message.
    void Open() { FDatabase.Open(); }
    bool Connected() const { return FDatabase.Connected(); }
    /// True when `error` of Open() says another process has the database open in the
    /// embedded engine, which admits one process at a time.
    static bool HeldByAnotherProcess(const fb::FbError &error);

    /// Runs the language-load statement; its rows are not read. Throws when not connected.
    void LoadLanguage(const QString &code);
    /// Runs the gem lookup; `NOTE` of the first row, or nothing when there is no row.
    std::optional<QString> LookUp(const QString &code, const QString &gemKey);

    fb::IB_DbZColor &Database() { return FDatabase; }
    fb::IBTransaction &Transaction() { return FTransaction; }
    fb::IB_QryGen &Query() { return FQuery; }

private:
    void run(const QString &sql);

    fb::IB_DbZColor FDatabase;
    fb::IBTransaction FTransaction{&FDatabase};
    fb::IB_QryGen FQuery{FDatabase, FTransaction};
};

} // namespace zc
