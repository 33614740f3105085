// SPDX-License-Identifier: MIT
// The RTF keyword table and its lookup.
#include <richtext/rtfkeywords.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace rtf {

namespace {

using K = Keyword;
using T = KeywordType;

// Kept in the order of the enum; lookup sorts a copy by name once.
constexpr KeywordEntry table[] = {
    {"rtf", T::Value, K::Rtf, 1},
    {"ansi", T::Flag, K::Ansi, 0},
    {"mac", T::Flag, K::Mac, 0},
    {"pc", T::Flag, K::Pc, 0},
    {"pca", T::Flag, K::Pca, 0},
    {"ansicpg", T::Value, K::AnsiCpg, 1252},
    {"deff", T::Value, K::Deff, 0},
    {"uc", T::Value, K::Uc, 1},
    {"u", T::Value, K::U, 0},

    {"fonttbl", T::Destination, K::FontTable, 0},
    {"colortbl", T::Destination, K::ColorTable, 0},
    {"stylesheet", T::Destination, K::StyleSheet, 0},
    {"info", T::Destination, K::Info, 0},
    {"header", T::Destination, K::Header, 0},
    {"headerl", T::Destination, K::HeaderL, 0},
    {"headerr", T::Destination, K::HeaderR, 0},
    {"headerf", T::Destination, K::HeaderF, 0},
    {"footer", T::Destination, K::Footer, 0},
    {"footerl", T::Destination, K::FooterL, 0},
    {"footerr", T::Destination, K::FooterR, 0},
    {"footerf", T::Destination, K::FooterF, 0},
    {"footnote", T::Destination, K::Footnote, 0},
    {"annotation", T::Destination, K::Annotation, 0},
    {"atnid", T::Destination, K::AtnId, 0},
    {"atnauthor", T::Destination, K::AtnAuthor, 0},
    {"pict", T::Destination, K::Pict, 0},
    {"object", T::Destination, K::Object, 0},
    {"objdata", T::Destination, K::ObjData, 0},
    {"result", T::Destination, K::Result, 0},
    {"field", T::Destination, K::Field, 0},
    {"fldinst", T::Destination, K::FldInst, 0},
    {"fldrslt", T::Destination, K::FldRslt, 0},
    {"pntext", T::Destination, K::PnText, 0},
    {"listtext", T::Destination, K::ListText, 0},
    {"pn", T::Destination, K::Pn, 0},
    {"pntxta", T::Destination, K::PnTxtA, 0},
    {"pntxtb", T::Destination, K::PnTxtB, 0},
    {"shppict", T::Destination, K::ShpPict, 0},
    {"nonshppict", T::Destination, K::NonShpPict, 0},
    {"shpinst", T::Destination, K::ShpInst, 0},
    {"shprslt", T::Destination, K::ShpRslt, 0},
    {"upr", T::Destination, K::Upr, 0},
    {"ud", T::Destination, K::Ud, 0},
    {"xe", T::Destination, K::Xe, 0},
    {"tc", T::Destination, K::Tc, 0},
    {"txe", T::Destination, K::Txe, 0},
    {"template", T::Destination, K::Template, 0},
    {"do", T::Destination, K::Do, 0},
    {"nonesttables", T::Destination, K::NoNestTables, 0},
    {"ftnsep", T::Destination, K::FtnSep, 0},
    {"ftnsepc", T::Destination, K::FtnSepC, 0},
    {"ftncn", T::Destination, K::FtnCn, 0},
    {"aftnsep", T::Destination, K::AftnSep, 0},
    {"aftnsepc", T::Destination, K::AftnSepC, 0},
    {"aftncn", T::Destination, K::AftnCn, 0},
    {"revtbl", T::Destination, K::RevTbl, 0},
    {"filetbl", T::Destination, K::FileTbl, 0},
    {"listtable", T::Destination, K::ListTable, 0},
    {"listoverridetable", T::Destination, K::ListOverrideTable, 0},
    {"nesttableprops", T::Destination, K::NestTableProps, 0},

    {"f", T::Value, K::F, 0},
    {"fcharset", T::Value, K::FCharset, 0},
    {"cpg", T::Value, K::Cpg, 0},
    {"red", T::Value, K::Red, 0},
    {"green", T::Value, K::Green, 0},
    {"blue", T::Value, K::Blue, 0},

    {"plain", T::Flag, K::Plain, 0},
    {"fs", T::Value, K::Fs, 24},
    {"b", T::Toggle, K::B, 1},
    {"i", T::Toggle, K::I, 1},
    {"ul", T::Toggle, K::Ul, 1},
    {"uld", T::Toggle, K::UlD, 1},
    {"uldash", T::Toggle, K::UlDash, 1},
    {"uldashd", T::Toggle, K::UlDashD, 1},
    {"uldashdd", T::Toggle, K::UlDashDD, 1},
    {"uldb", T::Toggle, K::UlDb, 1},
    {"ulhwave", T::Toggle, K::UlHWave, 1},
    {"ulldash", T::Toggle, K::UlLDash, 1},
    {"ulnone", T::Flag, K::UlNone, 0},
    {"ulth", T::Toggle, K::UlTh, 1},
    {"ulthd", T::Toggle, K::UlThD, 1},
    {"ulthdash", T::Toggle, K::UlThDash, 1},
    {"ulthdashd", T::Toggle, K::UlThDashD, 1},
    {"ulthdashdd", T::Toggle, K::UlThDashDD, 1},
    {"ulthldash", T::Toggle, K::UlThLDash, 1},
    {"ululdbwave", T::Toggle, K::UlULDbWave, 1},
    {"ulw", T::Toggle, K::UlW, 1},
    {"ulwave", T::Toggle, K::UlWave, 1},
    {"strike", T::Toggle, K::Strike, 1},
    {"striked", T::Toggle, K::StrikeD, 1},
    {"super", T::Flag, K::Super, 0},
    {"sub", T::Flag, K::Sub, 0},
    {"nosupersub", T::Flag, K::NoSuperSub, 0},
    {"up", T::Value, K::Up, 6},
    {"dn", T::Value, K::Dn, 6},
    {"cf", T::Value, K::Cf, 0},
    {"cb", T::Value, K::Cb, 0},
    {"highlight", T::Value, K::Highlight, 0},
    {"chcbpat", T::Value, K::ChCbPat, 0},
    {"v", T::Toggle, K::V, 1},
    {"caps", T::Toggle, K::Caps, 1},
    {"scaps", T::Toggle, K::SCaps, 1},

    {"pard", T::Flag, K::Pard, 0},
    {"ql", T::Flag, K::Ql, 0},
    {"qr", T::Flag, K::Qr, 0},
    {"qc", T::Flag, K::Qc, 0},
    {"qj", T::Flag, K::Qj, 0},
    {"qd", T::Flag, K::Qd, 0},
    {"li", T::Value, K::Li, 0},
    {"ri", T::Value, K::Ri, 0},
    {"fi", T::Value, K::Fi, 0},
    {"lin", T::Value, K::Lin, 0},
    {"rin", T::Value, K::Rin, 0},
    {"sb", T::Value, K::Sb, 0},
    {"sa", T::Value, K::Sa, 0},
    {"sl", T::Value, K::Sl, 0},
    {"slmult", T::Value, K::SlMult, 0},
    {"pagebb", T::Toggle, K::PageBb, 1},
    {"intbl", T::Flag, K::InTbl, 0},
    {"itap", T::Value, K::Itap, 1},

    {"pnlvlblt", T::Flag, K::PnLvlBlt, 0},
    {"pnlvlbody", T::Flag, K::PnLvlBody, 0},
    {"pnlvlcont", T::Flag, K::PnLvlCont, 0},
    {"pndec", T::Flag, K::PnDec, 0},
    {"pnucltr", T::Flag, K::PnUcLtr, 0},
    {"pnlcltr", T::Flag, K::PnLcLtr, 0},
    {"pnucrm", T::Flag, K::PnUcRm, 0},
    {"pnlcrm", T::Flag, K::PnLcRm, 0},
    {"pnstart", T::Value, K::PnStart, 1},
    {"pnf", T::Value, K::PnF, 0},

    {"par", T::Flag, K::Par, 0},
    {"line", T::Flag, K::Line, 0},
    {"tab", T::Symbol, K::Tab, 0, u'\t'},
    {"page", T::Flag, K::Page, 0},
    {"sect", T::Flag, K::Sect, 0},

    {"emdash", T::Symbol, K::EmDash, 0, u'\u2014'},
    {"endash", T::Symbol, K::EnDash, 0, u'\u2013'},
    {"lquote", T::Symbol, K::LQuote, 0, u'\u2018'},
    {"rquote", T::Symbol, K::RQuote, 0, u'\u2019'},
    {"ldblquote", T::Symbol, K::LDblQuote, 0, u'\u201C'},
    {"rdblquote", T::Symbol, K::RDblQuote, 0, u'\u201D'},
    {"bullet", T::Symbol, K::Bullet, 0, u'\u2022'},
    {"emspace", T::Symbol, K::EmSpace, 0, u'\u2003'},
    {"enspace", T::Symbol, K::EnSpace, 0, u'\u2002'},
    {"qmspace", T::Symbol, K::QmSpace, 0, u'\u2005'},
    {"zwj", T::Symbol, K::Zwj, 0, u'\u200D'},
    {"zwnj", T::Symbol, K::Zwnj, 0, u'\u200C'},
    {"ltrmark", T::Symbol, K::LtrMark, 0, u'\u200E'},
    {"rtlmark", T::Symbol, K::RtlMark, 0, u'\u200F'},

    {"trowd", T::Flag, K::TRowD, 0},
    {"cellx", T::Value, K::CellX, 0},
    {"cell", T::Flag, K::Cell, 0},
    {"row", T::Flag, K::Row, 0},
    {"nestcell", T::Flag, K::NestCell, 0},
    {"nestrow", T::Flag, K::NestRow, 0},

    {"pngblip", T::Flag, K::PngBlip, 0},
    {"jpegblip", T::Flag, K::JpegBlip, 0},
    {"emfblip", T::Flag, K::EmfBlip, 0},
    {"wmetafile", T::Value, K::WMetafile, 1},
    {"macpict", T::Flag, K::MacPict, 0},
    {"dibitmap", T::Value, K::DibBitmap, 0},
    {"wbitmap", T::Value, K::WBitmap, 0},
    {"pmmetafile", T::Value, K::PmMetafile, 0},
    {"picw", T::Value, K::PicW, 0},
    {"pich", T::Value, K::PicH, 0},
    {"picwgoal", T::Value, K::PicWGoal, 0},
    {"pichgoal", T::Value, K::PicHGoal, 0},
    {"picscalex", T::Value, K::PicScaleX, 100},
    {"picscaley", T::Value, K::PicScaleY, 100},
    {"bin", T::Value, K::Bin, 0},
};

const std::vector<const KeywordEntry *> &sortedByName()
{
    static const std::vector<const KeywordEntry *> sorted = [] {
        std::vector<const KeywordEntry *> v;
        v.reserve(std::size(table));
        for (const KeywordEntry &e : table)
            v.push_back(&e);
        std::sort(v.begin(), v.end(), [](const KeywordEntry *a, const KeywordEntry *b) {
            return std::strcmp(a->name, b->name) < 0;
        });
        return v;
    }();
    return sorted;
}

} // namespace

const KeywordEntry *findKeyword(QByteArrayView name)
{
    const auto &sorted = sortedByName();
    auto it = std::lower_bound(
        sorted.begin(), sorted.end(), name,
        [](const KeywordEntry *e, QByteArrayView n) { return QByteArrayView(e->name) < n; });
    if (it != sorted.end() && QByteArrayView((*it)->name) == name)
        return *it;
    return nullptr;
}

std::span<const KeywordEntry> keywordTable()
{
    return table;
}

} // namespace rtf
