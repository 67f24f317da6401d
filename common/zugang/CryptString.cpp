#include "zugang/CryptString.h"

QByteArray CryptString(const QByteArray& text, quint8 schluessel)
{
    QByteArray ergebnis;
    ergebnis.reserve(text.size());
    for (const char zeichen : text) {
        const quint8 code = static_cast<quint8>(zeichen);
        quint8 x = schluessel ^ code;
        if (x == 39 || x == 32 || x == 26)
            x = code;
        ergebnis.append(static_cast<char>(x));
    }
    return ergebnis;
}
