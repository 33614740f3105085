// SPDX-License-Identifier: MIT
// The text table: complete, and chosen by language code.
#include "messaggizc.h"

#include <gtest/gtest.h>

using namespace zc;

namespace {

TEST(TextTable, EveryCellIsFilled)
{
    for (int t = 0; t < ZcTextCount; ++t)
        for (int l = 0; l < ZcLanguageCount; ++l)
            EXPECT_FALSE(Text(static_cast<ZcText>(t), static_cast<ZcLanguage>(l)).isEmpty())
                << "text " << t << " language " << l;
}

TEST(TextTable, ItalianAndUnknownCodesKeepTheDesignValues)
{
    for (const char *code : {"ITA", "", "XYZ", "eng"}) {
        SCOPED_TRACE(code);
        for (int t = 0; t < ZcTextCount; ++t)
            EXPECT_FALSE(Translation(static_cast<ZcText>(t), code).has_value());
    }
    EXPECT_EQ(TextFor(ZcText::NameLabel, "ITA"), "Nome Cognome");
    EXPECT_EQ(TextFor(ZcText::TableButton, "ITA"), "Tabella Colori");
    EXPECT_EQ(TextFor(ZcText::ResultCaption, "ITA"), "Descrizione e Rimedi");
    EXPECT_EQ(TextFor(ZcText::PrintHint, "ITA"), "Stampa");
    EXPECT_EQ(TextFor(ZcText::CloseHint, "ITA"), "Chiudi");
}

TEST(TextTable, TranslationsPerLanguage)
{
    EXPECT_EQ(TextFor(ZcText::TableButton, "ENG"), "Color Table");
    EXPECT_EQ(TextFor(ZcText::ResultCaption, "ENG"), "Description");
    EXPECT_EQ(TextFor(ZcText::ResultCaption, "FRA"), "Description");
    EXPECT_EQ(TextFor(ZcText::PrintedRemedy, "FRA"), QString::fromUtf8("Remèdes"));
    EXPECT_EQ(TextFor(ZcText::PrintedTitle, "FRA"),
              QString::fromUtf8("RÉSULTAT DU TEST DE COULEUR"));
    EXPECT_EQ(TextFor(ZcText::ResultCaption, "SPA"), QString::fromUtf8("Descripción"));
    EXPECT_EQ(TextFor(ZcText::PrintHint, "SPA"), "Imprimir");
    EXPECT_EQ(TextFor(ZcText::CloseHint, "OLA"), "Einde");
    EXPECT_EQ(TextFor(ZcText::PrintedTitle, "OLA"), "KLEUR TEST RESULTAAT");
    EXPECT_EQ(TextFor(ZcText::PrintedRemedy, "OLA"), "Remedies");
    EXPECT_EQ(TextFor(ZcText::NameLabel, "OLA"), "Voornaam Achternaam");
}

TEST(TextTable, FixedTexts)
{
    EXPECT_EQ(MainCaption("SPA"), "Zelvoria Color Test (SPA)");
    EXPECT_STREQ(SErrorOpeningDatabase,
                 "Error (N0001) Opening Database Contact the Administrator!!");
    EXPECT_STREQ(SLanguageSelected, "The language selected is: ");
}

} // namespace
