// EncodeQueryText on arbitrary bytes. Rules checked:
//  - the output is printable ASCII, only the characters the encoding keeps,
//    "+" and "%XX" with upper-case hex digits;
//  - it is at most three times as long as the input;
//  - decoding it ("+" as a space, "%XX" as its byte) gives the input up to its
//    first zero byte, exactly.
#include "FuzzSupport.h"

#include "translate/QueryEncoding.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

bool kept(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')
           || std::strchr("!$'()*-.@_", c) != nullptr;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1; // lower-case digits are not what the encoding writes
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = fuzz::bytesOf(data, size);
    const QByteArray encoded = EncodeQueryText(input);

    fuzz::check(encoded.size() <= 3 * input.size(), "output longer than three times the input");

    QByteArray decoded;
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        const char c = encoded.at(i);
        fuzz::check(c > 0x20 && c < 0x7F, "output not printable ASCII");
        if (c == '+') {
            decoded += ' ';
        } else if (c == '%') {
            fuzz::check(i + 2 < encoded.size(), "truncated escape");
            const int high = hexValue(encoded.at(i + 1));
            const int low = hexValue(encoded.at(i + 2));
            fuzz::check(high >= 0 && low >= 0, "escape not two upper-case hex digits");
            const char byte = char(high * 16 + low);
            fuzz::check(!kept(byte) && byte != ' ' && byte != '\0', "a byte escaped that should stay");
            decoded += byte;
            i += 2;
        } else {
            fuzz::check(kept(c), "a character that should have been escaped");
            decoded += c;
        }
    }

    const qsizetype nul = input.indexOf('\0');
    const QByteArray expected = nul < 0 ? input : input.left(nul);
    fuzz::check(decoded == expected, "decoding the output does not give the input");
    return 0;
}
