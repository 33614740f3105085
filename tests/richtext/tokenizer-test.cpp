// SPDX-License-Identifier: MIT
// RTF tokenizer: control word syntax, escapes, \bin data, group errors; the keyword table.
#include <richtext/rtfkeywords.h>
#include <richtext/rtftokenizer.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

// Writes every event as a short token, e.g. "{", "w:fs=24", "t:abc", "x:e9".
class Recorder final : public rtf::RtfListener
{
public:
    std::vector<std::string> events;

    rtf::RtfError groupStart() override { return add("{"); }
    rtf::RtfError groupEnd() override { return add("}"); }
    rtf::RtfError controlWord(const rtf::KeywordEntry *entry, QByteArrayView name, bool hasParam,
                              int param) override
    {
        std::string e = (entry ? "w:" : "?:") + name.toByteArray().toStdString();
        if (hasParam)
            e += "=" + std::to_string(param);
        return add(e);
    }
    rtf::RtfError controlSymbol(char symbol) override { return add(std::string("s:") + symbol); }
    rtf::RtfError text(QByteArrayView bytes) override
    {
        return add("t:" + bytes.toByteArray().toStdString());
    }
    rtf::RtfError hexByte(unsigned char byte) override
    {
        return add("x:" + QByteArray::number(byte, 16).toStdString());
    }
    rtf::RtfError binary(QByteArrayView data) override
    {
        return add("b:" + std::to_string(data.size()));
    }

private:
    rtf::RtfError add(std::string e)
    {
        events.push_back(std::move(e));
        return rtf::RtfError::None;
    }
};

struct TokenRun
{
    rtf::RtfError error;
    std::vector<std::string> events;
    qsizetype position;
};

TokenRun tokenize(QByteArrayView data)
{
    Recorder recorder;
    rtf::RtfTokenizer tokenizer(data, recorder);
    const rtf::RtfError error = tokenizer.run();
    return {error, recorder.events, tokenizer.position()};
}

using Events = std::vector<std::string>;

} // namespace

TEST(RtfTokenizer, ControlWordsAndParameters)
{
    const TokenRun r = tokenize("{\\rtf1\\fs24 a\\li-360\\b0\\par\r\nb\\foo123x\\u-3913?}");
    EXPECT_EQ(r.error, rtf::RtfError::None);
    EXPECT_EQ(r.events, (Events{"{", "w:rtf=1", "w:fs=24", "t:a", "w:li=-360", "w:b=0", "w:par",
                                "t:b", "?:foo=123", "t:x", "w:u=-3913", "t:?", "}"}))
        << "one space after a word is its delimiter; line breaks are not text";
    EXPECT_EQ(tokenize("{\\fs  two}").events, (Events{"{", "w:fs", "t: two", "}"}));
    EXPECT_EQ(tokenize("{\\fs99999999999}").events, (Events{"{", "w:fs=2147483647", "}"}))
        << "huge numbers saturate";
    EXPECT_EQ(tokenize("{\\li-x}").events, (Events{"{", "w:li", "t:-x", "}"}));
    const std::string longName(40, 'a');
    EXPECT_EQ(tokenize(QByteArray("{\\") + longName.c_str() + "}").events,
              (Events{"{", "?:" + longName, "}"}))
        << "names over 32 letters are never keywords";
}

TEST(RtfTokenizer, SymbolsAndEscapes)
{
    EXPECT_EQ(tokenize("{\\~\\*\\{\\}\\\\\\'e9\\'E9}").events,
              (Events{"{", "s:~", "s:*", "s:{", "s:}", "s:\\", "x:e9", "x:e9", "}"}));
    EXPECT_EQ(tokenize("{a\\\nb}").events, (Events{"{", "t:a", "w:par", "t:b", "}"}))
        << "backslash before a line break is \\par";
    EXPECT_EQ(tokenize("{\\'3?x\\'zz}").events, (Events{"{", "x:0", "t:x", "x:0", "}"}))
        << "a malformed escape still stands for one byte";
    EXPECT_EQ(tokenize("{\\'e}").events, (Events{"{", "x:0", "}"}))
        << "an escape never swallows a brace";
}

TEST(RtfTokenizer, BinaryDataIsNotParsed)
{
    const QByteArray data = QByteArray("{\\bin5 ") + QByteArray("{}\\\0x", 5) + "y}";
    EXPECT_EQ(tokenize(data).events, (Events{"{", "b:5", "t:y", "}"}));
    const TokenRun huge = tokenize("{\\bin2147483647 abc");
    EXPECT_EQ(huge.events, (Events{"{", "b:3"})) << "a length past the end is cut short";
    EXPECT_EQ(huge.error, rtf::RtfError::UnexpectedEof);
    EXPECT_EQ(tokenize("{\\bin-5 x}").events, (Events{"{", "b:0", "t:x", "}"}));
}

TEST(RtfTokenizer, GroupErrors)
{
    const TokenRun under = tokenize("{a}}");
    EXPECT_EQ(under.error, rtf::RtfError::None) << "the document ends with its outer group";
    EXPECT_EQ(under.position, 3);

    const TokenRun eof = tokenize("{\\rtf1{a");
    EXPECT_EQ(eof.error, rtf::RtfError::UnexpectedEof);
    EXPECT_EQ(tokenize("{a\\").error, rtf::RtfError::UnexpectedEof);

    const TokenRun stray = tokenize("}x");
    EXPECT_EQ(stray.error, rtf::RtfError::GroupUnder);
    EXPECT_EQ(stray.position, 0);

    const QByteArray deep(rtf::RtfTokenizer::MaxDepth + 1, '{');
    const TokenRun tooDeep = tokenize(deep);
    EXPECT_EQ(tooDeep.error, rtf::RtfError::NestingTooDeep);
    EXPECT_EQ(tooDeep.position, rtf::RtfTokenizer::MaxDepth);

    EXPECT_EQ(rtf::errorText(rtf::RtfError::GroupUnder), "Closing brace without an open group");
}

TEST(RtfKeywordTable, EveryEntryIsFoundByItsName)
{
    std::set<std::string> names;
    for (const rtf::KeywordEntry &entry : rtf::keywordTable()) {
        EXPECT_TRUE(names.insert(entry.name).second) << "duplicate: " << entry.name;
        const rtf::KeywordEntry *found = rtf::findKeyword(entry.name);
        ASSERT_NE(found, nullptr) << entry.name;
        EXPECT_EQ(found->keyword, entry.keyword) << entry.name;
        if (entry.type == rtf::KeywordType::Symbol) {
            EXPECT_NE(entry.symbol, 0) << entry.name;
        }
    }
    EXPECT_EQ(rtf::findKeyword("nosuchword"), nullptr);
    EXPECT_EQ(rtf::findKeyword(""), nullptr);
}
