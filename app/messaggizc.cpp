// SPDX-License-Identifier: MIT
// The text table: one row per text, one column per language.
#include "messaggizc.h"

namespace zc {

namespace {

// ORDER: rows follow ZcText, columns ZcLanguage.
const char16_t *const kTexts[ZcTextCount][ZcLanguageCount] = {
    // ITA, ENG, FRA, SPA, OLA
    {u"Nome Cognome", u"Name Lastname", u"Pr\u00e9nom Nom", u"Nombre Apellido",
     u"Voornaam Achternaam"},
    {u"Tabella Colori", u"Color Table", u"Tableau des couleurs", u"Tabla de colores",
     u"Kleurentafel"},
    {u"Descrizione e Rimedi", u"Description", u"Description", u"Descripci\u00f3n", u"Beschrijving"},
    {u"Stampa", u"Print", u"Imprimer", u"Imprimir", u"Afdrukken"},
    {u"Chiudi", u"Close", u"Fermer", u"Cerrar", u"Einde"},
    {u"Rimedio", u"Remedies", u"Rem\u00e8des", u"Remedios", u"Remedies"},
    {u"Nome Cognome", u"Name Lastname", u"Pr\u00e9nom Nom", u"Nombre Apellido",
     u"Voornaam Achternaam"},
    {u"Esito Test Colori", u"COLOR TEST RESULT", u"R\u00c9SULTAT DU TEST DE COULEUR",
     u"RESULTADO DE LA PRUEBA DE COLOR", u"KLEUR TEST RESULTAAT"},
};

static_assert(sizeof kTexts / sizeof kTexts[0] == ZcTextCount);

std::optional<ZcLanguage> translatedLanguage(const QString &code)
{
    if (code == QLatin1String("ENG"))
        return ZcLanguage::Eng;
    if (code == QLatin1String("FRA"))
        return ZcLanguage::Fra;
    if (code == QLatin1String("SPA"))
        return ZcLanguage::Spa;
    if (code == QLatin1String("OLA"))
        return ZcLanguage::Ola;
    return std::nullopt;
}

} // namespace

QString Text(ZcText text, ZcLanguage language)
{
    const char16_t *cell = kTexts[static_cast<int>(text)][static_cast<int>(language)];
    return cell ? QString::fromUtf16(cell) : QString();
}

std::optional<QString> Translation(ZcText text, const QString &code)
{
    const std::optional<ZcLanguage> language = translatedLanguage(code);
    if (!language)
        return std::nullopt;
    return Text(text, *language);
}

QString TextFor(ZcText text, const QString &code)
{
    return Translation(text, code).value_or(Text(text, ZcLanguage::Ita));
}

QString MainCaption(const QString &code)
{
    return QLatin1String(SMainCaption) + QStringLiteral(" (") + code + u')';
}

} // namespace zc
