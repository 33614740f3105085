// SPDX-License-Identifier: MIT
// Engine error classes: each one is caught as itself and as the standard base.
#include <reportengine/rpconsts.h>

#include <gtest/gtest.h>

#include <string>

namespace {

template <typename E> void expectCaughtAsRuntimeError()
{
    try {
        throw E("boom");
    } catch (const std::runtime_error &e) {
        EXPECT_EQ(std::string(e.what()), "boom");
        EXPECT_NE(dynamic_cast<const E *>(&e), nullptr);
    }
}

} // namespace

TEST(engine_errors, derive_from_runtime_error_and_keep_message)
{
    expectCaughtAsRuntimeError<rp::EBadRtfFormat>();
    expectCaughtAsRuntimeError<rp::EIOError>();
    expectCaughtAsRuntimeError<rp::EIllegalScanUse>();
    expectCaughtAsRuntimeError<rp::EIllegalFunctionUse>();
    expectCaughtAsRuntimeError<rp::EIllegalIFUse>();
}
