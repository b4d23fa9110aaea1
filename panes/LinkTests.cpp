#include "panes/LinkTests.h"

bool HasUrlPrefix(const QString &text)
{
    for (const char *prefix : UrlPrefixes) {
        const qsizetype length = qsizetype(qstrlen(prefix));
        if (text.size() < length)
            continue;
        bool match = true;
        for (qsizetype i = 0; i < length && match; ++i) {
            char16_t c = text.at(i).unicode();
            if (c >= u'a' && c <= u'z')
                c = char16_t(c - u'a' + u'A');
            match = c == char16_t(prefix[i]);
        }
        if (match)
            return true;
    }
    return false;
}

bool LooksLikeMailAddress(const QString &text)
{
    const qsizetype at = text.indexOf(u'@');
    if (at < 0)
        return false;
    const qsizetype dot = text.lastIndexOf(u'.');
    return dot > at;
}
