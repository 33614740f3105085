// SPDX-License-Identifier: MIT
// Merging tables of RTF memo insertion: number replacements, fonts, colours, styles.
#include "rtfinsert/rprtfstream.h"
#include <reportengine/rptypes.h>

#include <algorithm>

namespace rp {

void TRpReplTable::AddRepl(std::int32_t oldNumber, std::int32_t newNumber)
{
    FRepl.push_back({oldNumber, newNumber});
    FReplCount = std::int32_t(FRepl.size());
    FReplSorted = false;
}

void TRpReplTable::SortReplTable()
{
    // Stable, so that a number mentioned twice keeps its first replacement.
    std::stable_sort(FRepl.begin(), FRepl.end(),
                     [](const Pair &a, const Pair &b) { return a.oldNumber < b.oldNumber; });
    FReplSorted = true;
}

std::int32_t TRpReplTable::Old2New(std::int32_t old)
{
    if (FRepl.empty())
        return old;
    if (!FReplSorted)
        SortReplTable();
    const auto it = std::lower_bound(FRepl.begin(), FRepl.end(), old,
                                     [](const Pair &p, std::int32_t v) { return p.oldNumber < v; });
    return it != FRepl.end() && it->oldNumber == old ? it->newNumber : old;
}

namespace {

// "{\f" + digits + rest + "}": the number and the rest, or false.
bool parseFont(const QString &s, int &number, QString &text)
{
    if (s.size() <= 5 || !s.startsWith(QLatin1String("{\\f")) || !s[3].isDigit() ||
        !s.endsWith(u'}'))
        return false;
    int i = 3;
    qint64 n = 0;
    while (i < s.size() && s[i].isDigit()) {
        n = n * 10 + (s[i].unicode() - '0');
        if (n > 65535)
            return false; // font numbers are 16-bit
        ++i;
    }
    number = int(n);
    text = s.mid(i);
    return true;
}

QString withoutControls(const QString &s)
{
    QString out;
    out.reserve(s.size());
    for (QChar c : s)
        if (c.unicode() >= 32)
            out += c;
    return out;
}

// Number after `word` (first occurrence followed by digits), -1 when none.
int numberAfter(const QString &s, QLatin1String word, int *at = nullptr, int *len = nullptr)
{
    int from = 0;
    for (;;) {
        const int p = s.indexOf(word, from);
        if (p < 0)
            return RpNotFound;
        int i = p + word.size();
        int n = 0;
        const int digits = i;
        while (i < s.size() && s[i].isDigit() && n < 100000)
            n = n * 10 + (s[i++].unicode() - '0');
        if (i > digits) {
            if (at)
                *at = digits;
            if (len)
                *len = i - digits;
            return n;
        }
        from = p + 1;
    }
}

QString withoutSnext(const QString &s)
{
    int at = 0;
    int len = 0;
    if (numberAfter(s, QLatin1String("\\snext"), &at, &len) < 0)
        return s;
    QString out = s;
    out.remove(at - 6, len + 6);
    return out;
}

// Replaces every "word" + digits (not followed by a letter of a longer word) through `map`.
template <typename Map> void renumberAll(QString &s, QLatin1String word, Map map, bool firstOnly)
{
    int from = 0;
    for (;;) {
        const int p = s.indexOf(word, from);
        if (p < 0)
            return;
        int i = p + word.size();
        const int digits = i;
        qint64 n = 0;
        while (i < s.size() && s[i].isDigit() && n < 1000000)
            n = n * 10 + (s[i++].unicode() - '0');
        if (i == digits) {
            from = p + 1;
            continue;
        }
        const QString repl = QString::number(map(std::int32_t(n)));
        s.replace(digits, i - digits, repl);
        if (firstOnly)
            return;
        from = digits + repl.size();
    }
}

} // namespace

bool TRpFontStrings::Add(const QString &s)
{
    int n = 0;
    QString text;
    if (!parseFont(s, n, text))
        return false;
    FStrings.push_back({std::uint16_t(n), text});
    FCount = std::int32_t(FStrings.size());
    FHighNumber = std::max(FHighNumber, n);
    return true;
}

bool TRpFontStrings::AddNew(const QString &s)
{
    int n = 0;
    QString text;
    if (!parseFont(s, n, text))
        return false;
    const int found = FindNumber(text);
    int result = 0;
    if (found >= 0) {
        result = FStrings[found].n;
    } else {
        if (FHighNumber >= 65535)
            return false;
        result = FHighNumber + 1;
        FHighNumber = result;
        FStrings.push_back({std::uint16_t(result), text});
        FCount = std::int32_t(FStrings.size());
    }
    AddRepl(n, result);
    return true;
}

void TRpFontStrings::AddFromList(const QStringList &list)
{
    for (const QString &line : list) {
        const QString t = line.trimmed();
        // Brace-less entries are legal in a font table; without braces Add would drop them
        // and the document would lose the font when its list is replaced.
        if (t.startsWith(QLatin1String("\\f")) && !t.startsWith(u'{'))
            Add(u'{' + t + u'}');
        else
            Add(t);
    }
}

int TRpFontStrings::FindNumber(const QString &text) const
{
    for (int i = 0; i < FCount; ++i)
        if (FStrings[i].text == text)
            return i;
    return RpNotFound;
}

QString TRpFontStrings::GetString(int i) const
{
    if (i < 0 || i >= FCount)
        return QString();
    return QStringLiteral("{\\f") + QString::number(FStrings[i].n) + FStrings[i].text;
}

bool TRpColorStrings::Add(const QString &s)
{
    if (s.isEmpty() || !s.endsWith(u';'))
        return false;
    FStrings.append(s);
    FCount = std::int32_t(FStrings.size());
    return true;
}

bool TRpColorStrings::AddNew(std::int32_t oldNumber, const QString &s)
{
    if (s.isEmpty() || !s.endsWith(u';'))
        return false;
    int at = FindNumber(s);
    if (at < 0) {
        FStrings.append(s);
        FCount = std::int32_t(FStrings.size());
        at = FCount - 1;
    }
    AddRepl(oldNumber, at);
    return true;
}

int TRpColorStrings::FindNumber(const QString &s) const
{
    return int(FStrings.indexOf(s));
}

QString TRpColorStrings::GetString(int i) const
{
    return i >= 0 && i < FCount ? FStrings[i] : QString();
}

TRpStyleStr TRpStyleStrings::CutNumber(const QString &s)
{
    TRpStyleStr e;
    if (s.size() < 6) {
        e.text = s;
        return e;
    }
    const auto kindOf = [](QChar c) { return c == u'c' ? 2 : c == u'd' ? 3 : c == u't' ? 4 : 0; };
    int from = -1;
    if (s.startsWith(QLatin1String("{\\s")) && s[3].isDigit()) {
        e.t = 1;
        from = 3;
    } else if (s.startsWith(QLatin1String("{\\*\\")) && kindOf(s[4]) && s[5] == u's') {
        e.t = std::uint8_t(kindOf(s[4]));
        from = 6;
    } else if (s.startsWith(QLatin1String("{\\")) && kindOf(s[2]) && s[3] == u's') {
        e.t = std::uint8_t(kindOf(s[2]));
        from = 4;
    } else {
        e.t = 1;
        e.text = s.mid(1);
        return e;
    }
    int i = from;
    int n = 0;
    while (i < s.size() && s[i].isDigit()) {
        n = std::min(n * 10 + (s[i].unicode() - '0'), 65535);
        ++i;
    }
    e.n = std::uint16_t(n);
    e.text = s.mid(i);
    return e;
}

bool TRpStyleStrings::Add(const QString &raw)
{
    const QString s = withoutControls(raw);
    if (s.size() <= 5 || !s.startsWith(u'{') || !s.endsWith(QLatin1String(";}")))
        return false;
    TRpStyleStr e = CutNumber(s);
    e.isNew = false;
    FHighNumber = std::max<std::int32_t>(FHighNumber, e.n);
    FStrings.push_back(e);
    FCount = std::int32_t(FStrings.size());
    return true;
}

bool TRpStyleStrings::AddNew(const QString &raw)
{
    const QString s = withoutControls(raw);
    if (s.size() <= 5 || !s.startsWith(u'{') || !s.endsWith(QLatin1String(";}")))
        return false;
    TRpStyleStr e = CutNumber(s);
    e.isNew = true;
    const int own = e.n;
    const int next = numberAfter(e.text, QLatin1String("\\snext"));
    const bool mayShare = !e.text.contains(QLatin1String("\\sbasedon")) &&
                          !e.text.contains(QLatin1String("\\slink")) && (next < 0 || next == own);
    int found = -1;
    if (mayShare) {
        found = FindNumber(e.text);
        // A paragraph style never stands for a character or table style of the same look.
        if (found >= 0 && FStrings[found].t != e.t)
            found = -1;
    }
    int result = 0;
    if (found >= 0) {
        result = FStrings[found].n;
    } else {
        if (FHighNumber >= 65535)
            return false;
        result = FHighNumber + 1;
        FHighNumber = result;
        e.n = std::uint16_t(result);
        FStrings.push_back(e);
        FCount = std::int32_t(FStrings.size());
    }
    AddRepl(own, result);
    return true;
}

int TRpStyleStrings::FindNumber(const QString &text) const
{
    const bool hasNext = text.contains(QLatin1String("\\snext"));
    const QString key = withoutSnext(text);
    for (int i = 0; i < FCount; ++i) {
        const QString &t = FStrings[i].text;
        if (t.contains(QLatin1String("\\snext")) == hasNext && withoutSnext(t) == key)
            return i;
    }
    return RpNotFound;
}

void TRpStyleStrings::CorrectNewStyles()
{
    for (TRpStyleStr &e : FStrings) {
        if (!e.isNew)
            continue;
        if (FOwnerRPS) {
            auto &fonts = FOwnerRPS->FFontTable;
            auto &colors = FOwnerRPS->FColorTable;
            renumberAll(
                e.text, QLatin1String("\\f"), [&fonts](std::int32_t n) { return fonts.Old2New(n); },
                false);
            renumberAll(
                e.text, QLatin1String("\\cf"),
                [&colors](std::int32_t n) { return colors.Old2New(n); }, false);
        }
        const auto own = [this](std::int32_t n) { return Old2New(n); };
        renumberAll(e.text, QLatin1String("\\snext"), own, true);
        renumberAll(e.text, QLatin1String("\\sbasedon"), own, true);
        renumberAll(e.text, QLatin1String("\\slink"), own, true);
        e.isNew = false;
    }
}

QString TRpStyleStrings::GetString(int i) const
{
    if (i < 0 || i >= FCount)
        return QString();
    const TRpStyleStr &e = FStrings[i];
    const QString n = QString::number(e.n);
    switch (e.t) {
    case 1:
        return QStringLiteral("{\\s") + n + e.text;
    case 2:
        return QStringLiteral("{\\*\\cs") + n + e.text;
    case 3:
        return QStringLiteral("{\\ds") + n + e.text;
    case 4:
        return QStringLiteral("{\\*\\ts") + n + e.text;
    default:
        return e.text; // kind 0 keeps its whole text, brace included
    }
}

} // namespace rp
