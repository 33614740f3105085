// SPDX-License-Identifier: MIT
// Report engine: error classes and constants shared by every unit.
#pragma once

#include <stdexcept>

namespace rp {

/// Version of the engine; user-function lists must carry the same number.
inline constexpr int RpVersion = 310;

/// The template or an RTF value is not well-formed RTF.
class EBadRtfFormat : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/// Variables, files and streams: lookups that fail, files that cannot be used.
class EIOError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/// SCAN blocks nested, closed or used wrongly.
class EIllegalScanUse : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/// Functions called with the wrong name, arguments or in the wrong place.
class EIllegalFunctionUse : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/// IF blocks nested, closed or used wrongly.
class EIllegalIFUse : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Message texts. Every error the engine raises is built from these.

// Data sets
inline constexpr char SRpFieldIndexOutOfRange[] = "Field index out of range: ";
inline constexpr char SRpFieldNotFound[] = "Field not found: ";
inline constexpr char SRpBookmarkInvalid[] = "Invalid bookmark";
inline constexpr char SRpFieldConvert[] = "Cannot convert the value of field ";

} // namespace rp
