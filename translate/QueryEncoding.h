#pragma once

#include <QByteArray>

// The UTF-8 bytes of the text to translate, written as printable ASCII for a
// query string or form body: letters, digits and ! $ ' ( ) * - . @ _ stay, a
// space becomes "+", every other byte becomes "%XX" (upper-case hex). A zero
// byte ends the input. One pass; the output is sized once.
QByteArray EncodeQueryText(const QByteArray &utf8);
