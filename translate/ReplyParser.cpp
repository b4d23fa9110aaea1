#include "translate/ReplyParser.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QStringDecoder>

namespace {

struct KnownFailure
{
    const char *text;
    const char *message;
};

// Failure texts of the connection, compared with the whole text, exactly.
constexpr KnownFailure KnownFailures[] = {
    {"Connection Closed Gracefully.", "Internet Connection Closed."},
    {"Socket Error # 10060\r\nConnection timed out.", "Connection timed out. ( Blocked? )"},
    {"HTTP/1.1 403 Forbidden", "Translate Engine disabled, Please try again later."},
    {"HTTP/1.1 429 Too Many Requests", "Too many requests, Please try again later."},
};

const QString ParseFailure = QStringLiteral("ERROR: Failed to parse translation results.");

} // namespace

QString DecodeReply(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        text.clear();
    return text;
}

ParsedReply ParseReply(const QString &text)
{
    ParsedReply reply;
    for (const KnownFailure &known : KnownFailures) {
        if (text == QLatin1String(known.text)) {
            reply.message = QString::fromLatin1(known.message);
            return reply;
        }
    }

    QJsonParseError error {};
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isArray()) {
        reply.message = ParseFailure;
        return reply;
    }
    const QJsonArray top = document.array();
    if (top.isEmpty() || !top.at(0).isArray()) {
        reply.message = ParseFailure;
        return reply;
    }
    // Each segment is an array whose first element is its translation. Rows
    // of another shape (the service adds some, such as a romanization row
    // [null, null, "..."]) carry no translation and are skipped.
    for (const QJsonValue &segment : top.at(0).toArray()) {
        if (!segment.isArray())
            continue;
        const QJsonValue piece = segment.toArray().at(0);
        if (piece.isString())
            reply.translation += piece.toString();
    }
    return reply;
}
