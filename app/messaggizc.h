// SPDX-License-Identifier: MIT
// Every text the colour test shows, per language, and the texts it never translates.
#pragma once

#include <QString>

#include <optional>

namespace zc {

/// The localised texts, one row each of the text table.
enum class ZcText
{
    NameLabel,     ///< main window label LbNome
    TableButton,   ///< main window button BtnTab
    ResultCaption, ///< result window title bar
    PrintHint,     ///< tooltip of the print button
    CloseHint,     ///< tooltip of the close button
    PrintedRemedy, ///< report variable "rim"
    PrintedName,   ///< report variable "nom"
    PrintedTitle,  ///< report variable "tit"
};
inline constexpr int ZcTextCount = 8;

/// Columns of the text table: the design language first, then the translations.
enum class ZcLanguage
{
    Ita,
    Eng,
    Fra,
    Spa,
    Ola,
};
inline constexpr int ZcLanguageCount = 5;

/// The text in `language`, Italian ones being the windows' design values.
QString Text(ZcText text, ZcLanguage language);

/// The translation that replaces the design value for language code `code`: a text for
/// "ENG", "FRA", "SPA" and "OLA", nothing for "ITA" or any other code.
std::optional<QString> Translation(ZcText text, const QString &code);

/// Translation, or the Italian design value when there is none.
QString TextFor(ZcText text, const QString &code);

// Texts shown in every language alike.
inline constexpr char SMainCaption[] = "Zelvoria Color Test";
inline constexpr char SClose[] = "Close Program?";
inline constexpr char SErrorOpeningDatabase[] =
    "Error (N0001) Opening Database Contact the Administrator!!";
inline constexpr char SAlreadyRunning[] =
    "Zelvoria Color Test is already running and holds the database: use that window, or "
    "close it before starting the program again.";
inline constexpr char SLanguageSelected[] = "The language selected is: ";
inline constexpr char SFilePrefix[] = "file ";
inline constexpr char SFileMissingSuffix[] = " inesistente";

/// "Zelvoria Color Test (" + code + ")".
QString MainCaption(const QString &code);

} // namespace zc
