// SPDX-License-Identifier: MIT
// Language codes, the two statements, lookups, and the product's remedy database.
#include "apptestsupport.h"

#include "appring.h"
#include "remedystore.h"

#include <firebird/fberror.h>

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace zc;

namespace {

const QString kCatsEyes = QStringLiteral("CAT\u2019S EYES");

TEST(LanguageCode, NumbersMapToCodesAndEverythingElseToEnglish)
{
    EXPECT_EQ(LanguageCode(0), "ITA");
    EXPECT_EQ(LanguageCode(1), "ENG");
    EXPECT_EQ(LanguageCode(2), "FRA");
    EXPECT_EQ(LanguageCode(3), "SPA");
    EXPECT_EQ(LanguageCode(4), "OLA");
    EXPECT_EQ(LanguageCode(9), "ENG");
    // The stored number is cut to 16 bits before mapping: 65537 is 1, 65539 is 3.
    EXPECT_EQ(LanguageCode(static_cast<quint16>(65537)), "ENG");
    EXPECT_EQ(LanguageCode(static_cast<quint16>(65539)), "SPA");
    EXPECT_EQ(LanguageCode(static_cast<quint16>(65536)), "ITA");
    EXPECT_EQ(LanguageCode(static_cast<quint16>(-1)), "ENG");
}

TEST(Statements, LanguageLoadAndGemLookupTexts)
{
    EXPECT_EQ(LanguageLoadStatement("OLA"), "SELECT * FROM RIMEDI WHERE LINGUA = 'OLA'");
    EXPECT_EQ(GemLookupStatement("FRA", GemKeyOfHint("AURUM 10 - RUBY")),
              "SELECT * FROM RIMEDI WHERE LINGUA = 'FRA' AND PIETRA = 'AURUM 10 - RUBY'");
    EXPECT_EQ(
        GemLookupStatement("ENG", GemKeyOfHint(kCatsEyes)),
        QStringLiteral("SELECT * FROM RIMEDI WHERE LINGUA = 'ENG' AND PIETRA = 'CAT\u2019S EYES'"));
    EXPECT_LE(LanguageLoadStatement("ENG").size(), 41);
}

TEST(Statements, PlainApostropheHintBecomesTheFixedKey)
{
    EXPECT_EQ(GemKeyOfHint(kCatsEyes), kCatsEyes) << "U+2019 is sent unchanged";
    const QString key = GemKeyOfHint("CAT'S EYES");
    EXPECT_EQ(key, QStringLiteral("CAT\u0092S EYES"));
    EXPECT_EQ(key.size(), 10);
    EXPECT_FALSE(GemLookupStatement("ENG", GemKeyOfHint("O'BRIEN")).contains("O'B"));
}

class Store : public ::testing::Test
{
protected:
    void SetUp() override
    {
        zc::testing::createRemedyDatabase(path, {{"SPA", kCatsEyes, "{\\rtf1 uno}"},
                                                 {"SPA", kCatsEyes, "{\\rtf1 dos}"},
                                                 {"SPA", "DIAMOND", ""},
                                                 {"ENG", kCatsEyes, "{\\rtf1 one}"}});
        store.SetDatabaseName(path);
        store.Open();
    }

    QTemporaryDir dir;
    QString path = dir.path() + "/store.fdb";
    RemedyStore store;
};

TEST_F(Store, LookUpGivesTheFirstRowsNoteOrNothing)
{
    store.LoadLanguage("SPA");
    EXPECT_EQ(store.LookUp("SPA", kCatsEyes), QString("{\\rtf1 uno}"));
    EXPECT_EQ(store.LookUp("ENG", kCatsEyes), QString("{\\rtf1 one}"));
    EXPECT_EQ(store.LookUp("SPA", "DIAMOND"), QString("")) << "an empty note is still a row";
    EXPECT_EQ(store.LookUp("OLA", kCatsEyes), std::nullopt);
    EXPECT_EQ(store.LookUp("ENG", GemKeyOfHint("CAT'S EYES")), std::nullopt);
}

TEST(StoreWithoutConnection, QueriesFailWithTheLayersMessage)
{
    RemedyStore store;
    store.SetDatabaseName("/nonexistent/folder/ZColor.fdb");
    EXPECT_THROW(store.Open(), fb::FbError);
    try {
        store.LoadLanguage("ENG");
        FAIL() << "no error";
    } catch (const fb::FbError &e) {
        EXPECT_STREQ(e.what(), "Database not open");
    }
    EXPECT_THROW(store.LookUp("ENG", "DIAMOND"), fb::FbError);
}

// The database the build makes from assets/remedies, opened from a copy so that test
// programs running side by side never meet on one file.
class ProductDatabase : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString built = QStringLiteral(ZC_BINARY_DIR "/assets/ZColor.fdb");
        if (!QFile::exists(built))
            FAIL() << "ZColor.fdb has not been built (target remedydb)";
        ASSERT_TRUE(QFile::copy(built, copy));
        store.SetDatabaseName(copy);
        store.Open();
    }

    QTemporaryDir dir;
    QString copy = dir.path() + "/ZColor.fdb";
    RemedyStore store;
};

TEST_F(ProductDatabase, EveryGemHasOneFormattedTextPerLanguage)
{
    static const QRegularExpression bulleted(QStringLiteral("\\\\pntext"));
    for (const char *code : LanguageCodes) {
        for (const QString &gem : GemKeys) {
            SCOPED_TRACE((QString(code) + ' ' + gem).toStdString());
            const std::optional<QString> note = store.LookUp(code, gem);
            ASSERT_TRUE(note.has_value());
            EXPECT_TRUE(note->startsWith("{\\rtf1\\ansi")) << note->left(20).toStdString();
            EXPECT_TRUE(note->contains("\\b ") && note->contains("\\i ") &&
                        note->contains("\\cf1") && note->contains(bulleted));
            bool ascii = true;
            for (QChar c : *note)
                ascii = ascii && c.unicode() < 128;
            EXPECT_TRUE(ascii) << "letters beyond ASCII are written as RTF escapes";
            store.Query().Next();
            EXPECT_TRUE(store.Query().Eof()) << "exactly one row";
        }
    }
    store.Query().SetSQL("SELECT COUNT(*) FROM RIMEDI");
    store.Query().Open();
    EXPECT_EQ(store.Query().Value(0).toInt(), 50);
}

} // namespace
