// A reply of the translation service as the main window handles it: the body's
// bytes decoded by DecodeReply, then read by ParseReply. Rules checked:
//  - well-formed UTF-8 decodes to exactly those characters (a leading
//    byte-order mark dropped); anything else decodes to nothing at all;
//  - the parse either understands the reply (no message) or gives one of the
//    known messages and no translation;
//  - a translation only comes from a JSON array, and holds no more characters
//    than the reply.
#include "FuzzSupport.h"

#include "translate/ReplyParser.h"

#include <cstddef>
#include <cstdint>

namespace {

const char *const Messages[] = {
    "Internet Connection Closed.",
    "Connection timed out. ( Blocked? )",
    "Translate Engine disabled, Please try again later.",
    "Too many requests, Please try again later.",
    "ERROR: Failed to parse translation results.",
};

bool knownMessage(const QString &message)
{
    for (const char *known : Messages) {
        if (message == QLatin1String(known))
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::quietQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const QString text = DecodeReply(bytes);

    if (fuzz::isValidUtf8(bytes)) {
        const QByteArray body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
        fuzz::check(text.toUtf8() == body, "well-formed UTF-8 decoded to other characters", fuzz::shown(text));
    } else {
        fuzz::check(text.isEmpty(), "broken UTF-8 decoded to text", fuzz::shown(text));
    }

    const ParsedReply reply = ParseReply(text);
    if (!reply.message.isEmpty()) {
        fuzz::check(knownMessage(reply.message), "unknown message", fuzz::shown(reply.message));
        fuzz::check(reply.translation.isEmpty(), "a message together with a translation");
    } else {
        // The JSON reader itself passes over one byte-order mark (a second one,
        // after the one the decoding dropped).
        const QString json = text.startsWith(QChar::ByteOrderMark) ? text.mid(1) : text;
        fuzz::check(json.trimmed().startsWith(u'['), "a translation from something other than an array",
                    fuzz::shown(text));
        fuzz::check(reply.translation.size() <= text.size(), "a translation longer than the reply");
    }
    return 0;
}
