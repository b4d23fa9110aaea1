#pragma once

class QFont;
class QObject;

// Font sizes in points as the forms are designed: at 96 pixels per inch, so
// that 9 points is a height of 12 pixels. Forms set their fonts in pixels; a
// size in points is turned into pixels the same way on every screen.
int FontPointSize(const QFont &font);
void SetFontPointSize(QFont &font, int points);

// Qt fonts carry no character set. The character set that a form's (or a
// frame's) font is said to have, 0 to 255, is kept on that widget; 0 (the
// ANSI set) until one is set. Setting keeps the low byte of the number.
int FontCharset(const QObject *owner);
void SetFontCharset(QObject *owner, int charset);
