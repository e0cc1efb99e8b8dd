#pragma once

// The run time's number services: checked 16- and 32-bit arithmetic, the float fault test,
// rounding with ties to even, and the conversions between numbers and text.

#include <QString>

#include <cstdint>

namespace platform {

// 16-bit increment, decrement and negation; a result out of range raises Overflow.
std::int16_t checked_inc(std::int16_t value);
std::int16_t checked_dec(std::int16_t value);
std::int16_t checked_neg(std::int16_t value);

// Nearest integer, a half going to the even neighbour; out of range (or NaN) raises Overflow.
std::int16_t round_to_i16(double value);
std::int32_t round_to_i32(double value);

// The fault test of every float sum, difference and product: a result that is not a finite
// number raises FloatingPoint. Returns the value unchanged.
double fp_check(double value);
// Rounds to the nearest single (ties to even) after the fault test; a double too large for a
// single raises FloatingPoint as well.
float to_single(double value);

double square_root(double value); // negative raises InvalidCall
double power(double base, double exponent);
double int_part(double value); // the largest whole number not above the value

// Integer to text: plain decimal digits, a leading minus where negative, no blanks.
QString int_text(std::int32_t value);
// Number to text: whole numbers as plain digits; others with up to 15 significant digits.
QString number_text(double value);
// Text to number, for the texts the game writes: optional blanks and sign, digits, an optional
// fraction and exponent. The empty text gives 0; any other text that is no number raises
// TypeMismatch.
double text_to_number(const QString& text);
// Exact comparison: 0 when both texts have the same characters, as the run time answers it.
int text_compare(const QString& a, const QString& b);

} // namespace platform
