// SPDX-License-Identifier: MIT
// Turning a status vector into an FbError.
#include <firebird/fberror.h>

namespace zc::fb {

std::string StatusMessage(const ISC_STATUS *status)
{
    std::string text;
    const ISC_STATUS *cursor = status;
    char line[1024];
    while (fb_interpret(line, sizeof line, &cursor) > 0) {
        if (!text.empty())
            text += '\n';
        text += line;
    }
    return text;
}

void CheckStatus(const ISC_STATUS *status)
{
    if (status[0] != 1 || status[1] == 0)
        return;
    ISC_STATUS copy[ISC_STATUS_LENGTH];
    std::copy(status, status + ISC_STATUS_LENGTH, copy);
    throw FbError(StatusMessage(copy), isc_sqlcode(copy), copy[1]);
}

} // namespace zc::fb
