// SPDX-License-Identifier: MIT
// Statement texts and the language mapping of the remedy store.
#include "remedystore.h"

#include <string_view>

namespace zc {

QString LanguageCode(quint16 number)
{
    if (number < LanguageCodes.size())
        return QLatin1String(LanguageCodes[number]);
    return QStringLiteral("ENG");
}

QString LanguageLoadStatement(const QString &code)
{
    return QStringLiteral("SELECT * FROM RIMEDI WHERE LINGUA = '") + code + u'\'';
}

QString GemLookupStatement(const QString &code, const QString &gemKey)
{
    return QStringLiteral("SELECT * FROM RIMEDI WHERE LINGUA = '") + code +
           QStringLiteral("' AND PIETRA = '") + gemKey + u'\'';
}

QString GemKeyOfHint(const QString &hint)
{
    if (hint.contains(u'\''))
        return QStringLiteral("CAT\u0092S EYES");
    return hint;
}

RemedyStore::RemedyStore()
{
    FDatabase.SetDefaultTransaction(&FTransaction);
}

bool RemedyStore::HeldByAnotherProcess(const fb::FbError &error)
{
    // The engine's own words; the code alone (an I/O error) covers missing files too.
    return std::string_view(error.what()).find("Database already opened with engine instance") !=
           std::string_view::npos;
}

void RemedyStore::run(const QString &sql)
{
    FQuery.Close();
    FQuery.SetSQL(sql);
    FQuery.Open();
}

void RemedyStore::LoadLanguage(const QString &code)
{
    run(LanguageLoadStatement(code));
}

std::optional<QString> RemedyStore::LookUp(const QString &code, const QString &gemKey)
{
    run(GemLookupStatement(code, gemKey));
    if (!FQuery.HasRows())
        return std::nullopt;
    return FQuery.FieldAsString(QStringLiteral("NOTE"));
}

} // namespace zc
