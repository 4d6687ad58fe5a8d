#pragma once
// Whether a text reads as a number, in the general notation in which text converts to a
// number.
#include <string_view>

// Accepted, with any number of blanks (space or tab) before and after:
//   [+|-] digits [ (E|e) [+|-] digits ]      decimal, optionally with an exponent
//   &H hexdigits   (1 to 8 digits)           hexadecimal; H and the digits in either case
//   &O octdigits   (1 to 11 digits, <= &O37777777777)   octal; O in either case
// Everything else is not a number: no thousands or decimal separators, no currency
// symbol, no trailing sign, no parentheses, no D as exponent mark, no sign in front of &H
// or &O, no blank between sign and digits. Digits are ASCII only. Line breaks, NUL and
// other control characters are never blanks, so a text that passes cannot span lines.
// A lone character passes exactly when it is one of the digits 0 to 9.
bool IsNumeric(std::wstring_view text);
