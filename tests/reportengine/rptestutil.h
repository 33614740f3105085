// SPDX-License-Identifier: MIT
// Helpers shared by the engine tests: exact-message exception checks and a concrete report.
#pragma once

#include <reportengine/rprtf.h>

#include <gtest/gtest.h>

#include <QString>

#include <string>

namespace rptest {

/// Runs `f` and expects it to throw exactly `E` (or a subclass) with message `msg`.
template <typename E, typename F> void expectThrowMsg(F &&f, const QString &msg)
{
    try {
        f();
        ADD_FAILURE() << "no exception, expected: " << msg.toStdString();
    } catch (const E &e) {
        EXPECT_EQ(std::string(e.what()), msg.toStdString());
    } catch (const std::exception &e) {
        ADD_FAILURE() << "wrong exception type, message: " << e.what();
    }
}

/// A report component usable on its own: the quote rules are trivial here
/// because these tests never scan field text.
class TestReport : public rp::TRpRTF
{
public:
    bool LeftQuote(QChar c) override { return c == u'"'; }
    bool RightQuote(QChar open, QChar c) override { return c == open; }
    bool IsQuoted(const QString &s) override
    {
        return s.size() >= 2 && s.front() == u'"' && s.back() == u'"';
    }
};

} // namespace rptest
