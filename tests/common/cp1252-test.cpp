// SPDX-License-Identifier: MIT
// The Windows-1252 table: the bytes that differ from Latin-1, and a whole round trip.
#include <zc/cp1252.h>

#include <gtest/gtest.h>

using namespace zc;

TEST(code_page, windows_1252_round_trip)
{
    EXPECT_EQ(ToCp1252(QString::fromUtf8("\u20ac\u201c\u201d\u00ff\u0100")),
              QByteArray("\x80\x93\x94\xFF?"));
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    EXPECT_EQ(ToCp1252(FromCp1252(all)), all);
    EXPECT_EQ(FromCp1252("\x9f"), QString(QChar(0x178)));
}
