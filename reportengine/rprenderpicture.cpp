// SPDX-License-Identifier: MIT
// Picture and RTF-value output points of value rendering, until pictures and RTF insertion exist.
#include "rprtf.h"

namespace rp {

void TRpRTF::WriteGraphicVarRTF(const QString &fileName, const TRpFieldFormat &format,
                                const QString &markup)
{
    TRpPicture picture;
    if (!picture.LoadFromFile(fileName)) {
        writeText(QStringLiteral("#Can't load file ") + fileName, markup);
        return;
    }
    WritePictureResult(&picture, format);
    wr(markup);
}

void TRpRTF::WriteGraphicRTF(TRpField *field, const TRpFieldFormat &format, const QString &markup)
{
    TRpPicture picture;
    if (picture.LoadFromData(field->AsBytes()))
        WritePictureResult(&picture, format);
    wr(markup);
}

void TRpRTF::WritePictureResult(TRpPicture *, const TRpFieldFormat &)
{
    // Picture groups are written by the picture writer; nothing to embed yet.
}

void TRpRTF::WriteRtfValue(const QString &, const QString &markup)
{
    // RTF values are merged by the memo insertion; until then only the field's markup stays.
    wr(markup);
}

} // namespace rp
