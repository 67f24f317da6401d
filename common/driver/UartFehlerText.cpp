#include "UartFehlerText.h"

namespace {

struct FehlerBit
{
    int bit;
    const char* text;
    bool mitMaske;
};

constexpr FehlerBit kFehlerBits[] = {
    {1, "Timeout, ", false},        {2, "Wrong Parity, ", true},  {4, "Wrong Checksum, ", true},
    {8, "Wrong Startsign, ", true}, {16, "Wrong Length, ", true}, {32, "Wrong Stopsign", true},
    {64, "Collision, ", true},      {128, "Frame Error, ", true}, {256, "Other UART Error, ", true},
};

} // namespace

QString MB_UartFehlerText(int maske)
{
    QString text;
    for (const FehlerBit& eintrag : kFehlerBits) {
        if ((maske & eintrag.bit) == 0)
            continue;
        text += QString::fromLatin1(eintrag.text);
        if (eintrag.mitMaske)
            text += QString::number(maske);
    }
    return text;
}
