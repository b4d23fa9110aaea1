#pragma once

#include <QByteArray>
#include <QString>

struct ParsedReply
{
    QString translation; // the translated text; empty when message is set
    QString message;     // empty exactly when the reply was understood
};

// The reply bytes as text: UTF-8, and nothing at all when any sequence in
// them is broken.
QString DecodeReply(const QByteArray &bytes);

// Reads a reply of the translation service (or the failure text that stands in
// its place). A known failure text gives its friendly message; a JSON array
// gives the concatenated translations of its segments; anything else gives
// "ERROR: Failed to parse translation results.".
ParsedReply ParseReply(const QString &text);
