// SPDX-License-Identifier: MIT
// Deeply nested control blocks: cost linear in the depth, and the template's block limit.
#include "control_fixture.h"

#include <QElapsedTimer>

using namespace rp;
using rptest::ControlRun;

namespace {

QByteArray nested(const QByteArray &open, const QByteArray &inner, const QByteArray &close,
                  int levels)
{
    return open.repeated(levels) + inner + close.repeated(levels);
}

class Nesting : public ControlRun
{
protected:
    void SetUp() override
    {
        ControlRun::SetUp();
        report.CreateVar(QStringLiteral("x"), 1.0);
        addDataSet(QStringLiteral("D"), {QStringLiteral("a"), QStringLiteral("b")});
    }
};

} // namespace

// Every block used to read up to its end when entered, so 10 000 levels took 20 s.
TEST_F(Nesting, the_deepest_template_runs_in_linear_time)
{
    QElapsedTimer clock;
    clock.start();
    const QByteArray ifs = nested("\\\\IF(x>0)\\\\", "in", "\\\\ENDIF\\\\", RpMaxBlocks);
    EXPECT_EQ(body("<" + ifs + ">"), "<in>");
    EXPECT_LT(clock.elapsed(), 30000);
}

TEST_F(Nesting, deep_blocks_leave_the_same_braces_as_shallow_ones)
{
    // A skipped block closes what its parts open, down to the deepest level.
    const auto skipped = [](int levels) {
        return "\\\\IF(x<0)\\\\" + nested("{\\\\IF(x>0)\\\\", "{in", "\\\\ENDIF\\\\}", levels) +
               "\\\\ENDIF\\\\.";
    };
    EXPECT_EQ(body(skipped(3)), "{{{}}.");
    EXPECT_EQ(body(skipped(2000)), std::string(2000, '{') + std::string(1999, '}') + ".");
    // Scan passes repeat from the entry, an else part skips its condition's braces.
    EXPECT_EQ(body("{" + nested("\\\\SCAN(D)\\\\{", "y", "}\\\\ENDSCAN\\\\", 3) + "}"),
              "{{{{y}{y}}}}");
    EXPECT_EQ(
        body("{" + nested("\\\\SCAN(D)\\\\{", "y", "\\\\SCANFOOTER\\\\}\\\\ENDSCAN\\\\", 3) + "}"),
        "{{{{y}{y}}}}");
    EXPECT_EQ(
        body("{" + nested("\\\\SCAN(D)\\\\{\\\\SCANENTRY\\\\}{", "y", "}\\\\ENDSCAN\\\\", 3) + "}"),
        "{{}{{}{{}{y}{}{y}}}}");
    EXPECT_EQ(body("{" + nested("\\\\IF(x<0)\\\\{\\\\ELSE\\\\}{", "y", "}\\\\ENDIF\\\\", 3) + "}"),
              "{{}{{}{{}{y}}}}");
}

TEST_F(Nesting, a_template_holds_at_most_65535_blocks)
{
    const std::string limit =
        "Too many blocks in template (at most 65535 IF, ELSE, ELSIF and SCAN blocks): ";
    EXPECT_EQ(failure(nested("\\\\IF(x>0)\\\\", "", "\\\\ENDIF\\\\", RpMaxBlocks + 1)),
              limit + "IF(x>0)");
    EXPECT_EQ(failure(nested("\\\\SCAN(D)\\\\", "", "\\\\ENDSCAN\\\\", RpMaxBlocks + 1)),
              limit + "SCAN(D)");
    // Blocks in sequence count as well; an ELSIF opens two.
    EXPECT_EQ(failure("\\\\IF(x>0)\\\\\\\\ENDIF\\\\" +
                      QByteArray("\\\\IF(x>0)\\\\\\\\ELSIF(x>1)\\\\\\\\ENDIF\\\\").repeated(21845)),
              limit + "ELSIF(x>1)");
}
