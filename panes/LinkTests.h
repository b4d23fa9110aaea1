#pragma once

#include <QString>

// The address prefixes a link text may start with, upper case.
inline constexpr const char *UrlPrefixes[] = {
    "HTTP://", "FTP://", "FILE://", "GOPHER://", "MAILTO://", "HTTPS://",
    "MAILTO:", "NEWS:", "TELNET:", "WAIS:", "WWW.", "FTP.",
};

// Whether the text starts with one of UrlPrefixes; only the letters a to z are
// compared without regard to case. The empty text has none.
bool HasUrlPrefix(const QString &text);

// Whether the text looks like a bare mail address: it holds an "@", and its
// last "." stands after its first "@".
bool LooksLikeMailAddress(const QString &text);
