#include "translate/QueryEncoding.h"

#include <array>

namespace {

enum : unsigned char { Escape, Keep, Plus, Stop };

constexpr std::array<unsigned char, 256> makeTable()
{
    std::array<unsigned char, 256> table {};
    for (auto &entry : table)
        entry = Escape;
    for (int c = '0'; c <= '9'; ++c)
        table[size_t(c)] = Keep;
    for (int c = 'A'; c <= 'Z'; ++c)
        table[size_t(c)] = Keep;
    for (int c = 'a'; c <= 'z'; ++c)
        table[size_t(c)] = Keep;
    for (char c : {'!', '$', '\'', '(', ')', '*', '-', '.', '@', '_'})
        table[size_t(c)] = Keep;
    table[' '] = Plus;
    table[0] = Stop;
    return table;
}

constexpr std::array<unsigned char, 256> Table = makeTable();
constexpr char Hex[] = "0123456789ABCDEF";

} // namespace

QByteArray EncodeQueryText(const QByteArray &utf8)
{
    QByteArray out(utf8.size() * 3, Qt::Uninitialized);
    char *write = out.data();
    const auto *read = reinterpret_cast<const unsigned char *>(utf8.constData());
    const auto *end = read + utf8.size();
    for (; read != end; ++read) {
        const unsigned char byte = *read;
        switch (Table[byte]) {
        case Keep:
            *write++ = char(byte);
            break;
        case Plus:
            *write++ = '+';
            break;
        case Escape:
            write[0] = '%';
            write[1] = Hex[byte >> 4];
            write[2] = Hex[byte & 0x0F];
            write += 3;
            break;
        default: // a zero byte ends the text
            read = end - 1;
            break;
        }
    }
    out.truncate(write - out.constData());
    return out;
}
