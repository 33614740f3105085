// SPDX-License-Identifier: MIT
// Built-in function tests: a report with argument builders and calls through ExecUDF.
#pragma once

#include "compiler/rpfunctable.h"
#include <reportengine/rpconsts.h>
#include <reportengine/rpformat.h>
#include <reportengine/rprtf.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

namespace rp::test {

/// Expects `f` to raise exactly `E` (not a class derived from it) with message `msg`.
template <typename E, typename F> void expectExactThrow(F &&f, const QString &msg)
{
    try {
        f();
        ADD_FAILURE() << "no exception, expected: " << msg.toStdString();
    } catch (const E &e) {
        EXPECT_EQ(std::string(e.what()), msg.toStdString());
        EXPECT_TRUE(typeid(e) == typeid(E)) << "raised as " << typeid(e).name();
    } catch (const std::exception &e) {
        ADD_FAILURE() << "other exception " << typeid(e).name() << ": " << e.what();
    }
}

/// A plain error (the base exception class) with `msg`.
template <typename F> void expectPlain(F &&f, const QString &msg)
{
    expectExactThrow<std::runtime_error>(std::forward<F>(f), msg);
}

/// A report with helpers that build function arguments and run built-ins as the executor
/// does: ExecUDF with a local result holder for value functions.
class FunctionsTest : public ::testing::Test
{
protected:
    static constexpr const char *Expr = "EXPR";

    TRpRTF report;

    TRpObject *num(long double v)
    {
        auto *x = local();
        x->SetAsFloat(v);
        return x;
    }
    TRpObject *str(const QString &v)
    {
        auto *x = local();
        x->SetAsString(v);
        return x;
    }
    TRpObject *boolean(bool v)
    {
        auto *x = local();
        x->SetAsBoolean(v);
        return x;
    }
    TRpObject *date(int y, int m, int d)
    {
        auto *x = local();
        x->SetAsDate(EncodeDate(y, m, d));
        return x;
    }
    TRpObject *dateTime(TDateTime v)
    {
        auto *x = local();
        x->SetAsDateTime(v);
        return x;
    }
    /// A local value without a type.
    TRpObject *untyped(const QString &text = QString())
    {
        auto *x = local();
        x->SetAsString(text);
        x->SetDataType(rpdtUnknown);
        return x;
    }
    /// A reference to report variable `name` (which need not exist).
    TRpReportVariable *ref(const QString &name)
    {
        auto v = std::make_unique<TRpReportVariable>(&report);
        v->SetVarName(name);
        auto *p = v.get();
        owned.push_back(std::move(v));
        return p;
    }
    /// An object that is neither a variable nor a field (a picture result).
    TRpObject *picture()
    {
        owned.push_back(std::make_unique<TRpPicture>());
        return owned.back().get();
    }

    /// Runs built-in `f` on `args` (left to right); returns its result holder.
    TRpReportVariable &call(int f, std::vector<TRpObject *> args)
    {
        TRpReportVariable *holder = nullptr;
        if (BaseFunctionResultType(f) == udfrTRpReportVariable)
            holder = local();
        report.ExecUDF(f, args, static_cast<int>(args.size()), holder, QString::fromLatin1(Expr));
        return holder ? *holder : scratch;
    }
    /// An operator with its operands in reading order (the call gets them reversed).
    TRpReportVariable &op(int f, TRpObject *left, TRpObject *right)
    {
        return call(f, {right, left});
    }

    /// For each argument i of `good`: a non-value in its place raises messages[2i], `wrong[i]`
    /// in its place messages[2i+1], each followed by ", expression EXPR".
    void expectArgMessages(int f, const std::vector<TRpObject *> &good,
                           const std::vector<TRpObject *> &wrong,
                           const std::vector<const char *> &messages)
    {
        for (size_t i = 0; i < good.size(); ++i) {
            SCOPED_TRACE(messages[2 * i]);
            std::vector<TRpObject *> args = good;
            args[i] = picture();
            expectPlain([&] { call(f, args); }, withExpr(QLatin1String(messages[2 * i])));
            args[i] = wrong[i];
            expectPlain([&] { call(f, args); }, withExpr(QLatin1String(messages[2 * i + 1])));
        }
    }

    /// `text` + ", expression EXPR".
    static QString withExpr(const QString &text)
    {
        return text + QStringLiteral(", expression EXPR");
    }

private:
    TRpReportVariable *local()
    {
        auto v = std::make_unique<TRpReportVariable>(nullptr);
        auto *p = v.get();
        owned.push_back(std::move(v));
        return p;
    }

    std::vector<std::unique_ptr<TRpObject>> owned;
    TRpReportVariable scratch{nullptr};
};

} // namespace rp::test
