#pragma once

#include <QString>

struct ParsedReply
{
    QString translation; // the translated text; empty when message is set
    QString message;     // empty exactly when the reply was understood
};

// Reads a reply of the translation service (or the failure text that stands in
// its place). A known failure text gives its friendly message; a JSON array
// gives the concatenated translations of its segments; anything else gives
// "ERROR: Failed to parse translation results.".
ParsedReply ParseReply(const QString &text);
