#pragma once
// The scrambler of the credentials file obrak.conf.

#include <QByteArray>

// Key of obrak.conf, the same for scrambling and unscrambling.
inline constexpr quint8 kUserConfigSchluessel = 0xA7;

// Scrambles or unscrambles bytes (one call does both): each byte becomes key XOR byte, except
// where that would give a blank (32), an apostrophe (39) or the end-of-file mark (26); then the
// byte stays as it is. So plaintext 0x87, 0x80 and 0xBD pass unchanged both ways, while a
// plaintext blank, apostrophe or end-of-file mark scrambles to 0x87, 0x80 or 0xBD and therefore
// does not come back. The files in the field are written this way; keep it.
QByteArray CryptString(const QByteArray& text, quint8 schluessel);
