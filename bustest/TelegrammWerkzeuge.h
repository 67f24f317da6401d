#pragma once
// The telegram tools of the test window: interpreting a telegram typed or pasted as hex text,
// the display hex text of raw bytes, the checksum of a short frame, and what a double-click on a
// row of the meter list reads.
//
// Telegram texts the interpretation takes (TelegrammAlsHex):
// - contiguous hex, two digits a byte ("68383868..."), the driver's form and the form the
//   read-out keeps in RohdatenText; blanks and line breaks anywhere are ignored;
// - the display hex text, bytes of one or two digits each followed by ";" (or separated by
//   blanks or line breaks): "68;38;38;68;8;0;72;..." as ErzeugeHexStream writes it and the
//   sample telegram of the window is given;
// - the telegram dump the read-out writes into the text box ("n HEX Zeichen", the hex lines,
//   "n Dezimal", the decimal groups): its hex lines.
// Anything else goes to the driver as it is, which refuses it.

#include <QString>

class FlexGrid;
class MBusRacX4;

class TelegrammWerkzeuge
{
public:
    // The header fields the interpretation fills (the boxes Text2(0), (2), (3), (4), (5)).
    struct Kopf
    {
        QString hersteller, version, herstellerNummer, idDezimal, medium;
    };

    struct Deutung
    {
        int status = 0; // APPReceiveTest after the interpretation; 0 to 3: accepted
        QString dump;   // the telegram dump, CR LF lines (accepted only)
        Kopf kopf;      // accepted only
        bool angenommen() const { return status >= 0 && status < 4; }
    };

    // The message for a telegram the driver refused.
    static QString AblehnungsText(int status);

    // The display hex text of the characters' codes: each in upper-case hex without leading
    // zero followed by ";", a carriage return after every tenth ";".
    static QString HexStream(const QString& text);

    // C field plus A field modulo 256 in upper-case hex without leading zero. Each box counts
    // with the hex digits it starts with; an empty box or one without a leading hex digit
    // counts as 0.
    static QString KurzrahmenPruefsumme(const QString& cFeld, const QString& aFeld);

    // The telegram of the text as contiguous two-digit hex (see above); the text trimmed when it
    // is in none of the forms.
    static QString TelegrammAlsHex(const QString& text);

    // Interprets the telegram text through the driver (no port needed). When it accepts it, the
    // records grid is filled (TelegrammInGrid) and the dump and header fields are given back;
    // otherwise the grid is left as it was.
    static Deutung Deuten(MBusRacX4& treiber, const QString& text, FlexGrid& satzGrid);

    // The first baud rate of a meter list's rate column ("9600;2400" → "9600"); "" when none.
    static QString ErsteBaudrate(const QString& spalte);
};
