#pragma once

#include <QString>

#include <optional>

// Whole numbers as people write them in settings and language files: an
// optional "0x"/"0X" prefix (taken as "$") on a text longer than two
// characters, leading spaces, an optional sign, then decimal digits within the
// 32-bit signed range or hexadecimal digits after "$", "x" or "X" (at most 8
// significant, wrapping into the sign: "$FFFFFFFF" is -1). Anything else,
// trailing blanks included, is no number.
std::optional<int> ParseInteger(const QString &text);
