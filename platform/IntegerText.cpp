#include "platform/IntegerText.h"

namespace {

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

} // namespace

std::optional<int> ParseInteger(const QString &input)
{
    QString text = input;
    if (text.size() > 2 && text.at(0) == u'0' && (text.at(1) == u'x' || text.at(1) == u'X'))
        text.replace(0, 2, QStringLiteral("$"));

    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text.at(i) == u' ')
        ++i;
    bool negative = false;
    if (i < n && (text.at(i) == u'+' || text.at(i) == u'-')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    if (i >= n)
        return std::nullopt;

    const QChar lead = text.at(i);
    if (lead == u'$' || lead == u'x' || lead == u'X') {
        ++i;
        if (i >= n)
            return std::nullopt;
        quint32 value = 0;
        int significant = 0;
        for (; i < n; ++i) {
            const int digit = hexDigit(text.at(i));
            if (digit < 0)
                return std::nullopt;
            if (significant > 0 || digit != 0)
                ++significant;
            if (significant > 8)
                return std::nullopt;
            value = (value << 4) | quint32(digit);
        }
        if (negative)
            value = 0u - value;
        return int(qint32(value));
    }

    qint64 value = 0;
    bool any = false;
    for (; i < n; ++i) {
        const char16_t u = text.at(i).unicode();
        if (u < '0' || u > '9')
            return std::nullopt;
        value = value * 10 + (u - '0');
        any = true;
        if (value > qint64(2147483648LL))
            return std::nullopt;
    }
    if (!any)
        return std::nullopt;
    if (negative)
        value = -value;
    if (value > 2147483647LL)
        return std::nullopt;
    return int(value);
}
