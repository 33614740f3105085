// SPDX-License-Identifier: MIT
// Built-in function library: the power routines and floating-point errors it shares.
#pragma once

#include <stdexcept>

namespace rp {

/// An operation without a real result, such as the logarithm of a negative number.
class EInvalidOp : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/// A floating-point division by zero, such as 0 raised to a negative power.
class EZeroDivide : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/// `x` to the integer power `n` by repeated squaring; EZeroDivide for 0 to a negative power.
long double ipwr(long double x, int n);

/// `x` to the real power `y`: whole exponents go through ipwr, others through e^(y ln x);
/// EInvalidOp for a negative base with a fractional exponent.
long double pwr(long double x, long double y);

/// `x` to `n` decimals (tens, hundreds ... for negative `n`), halves away from zero.
long double RpRound(long double x, int n);

} // namespace rp
