// SPDX-License-Identifier: MIT
// The error type of the Firebird access layer, built from the client's status vector.
#pragma once

#include <ibase.h>

#include <stdexcept>
#include <string>

namespace zc::fb {

/// A failure reported by the Firebird client, or a misuse of the access layer.
/// The message is Firebird's own text: every line fb_interpret yields, joined by newlines.
class FbError : public std::runtime_error
{
public:
    explicit FbError(const std::string &message, long sqlCode = 0, long gdsCode = 0)
        : std::runtime_error(message), FSqlCode(sqlCode), FGdsCode(gdsCode)
    {
    }

    /// SQL error code (for example -902), 0 when the error did not come from the client.
    long SqlCode() const { return FSqlCode; }
    /// First Firebird error code of the status vector (for example 335544344), or 0.
    long GdsCode() const { return FGdsCode; }

private:
    long FSqlCode;
    long FGdsCode;
};

/// The text of a status vector, each fb_interpret line separated by "\n".
std::string StatusMessage(const ISC_STATUS *status);

/// Throws FbError when `status` holds an error; warnings pass.
void CheckStatus(const ISC_STATUS *status);

} // namespace zc::fb
