#pragma once
// The few M-Bus long frames (EN 13757-2) the program sends itself: select a meter by its
// secondary address, give a meter a new primary address, switch a meter's baud rate, reset the
// application of the selected meter. Every frame
// goes to address 253 (the selected meter) with the C field 53 (SND_UD).
//
// Each builder takes the mode as its last argument:
//   "HEX"  the whole frame as hex text: "68 0B 0B 68 53 FD 52 78 56 34 12 FF FF FF FF B2 16"
//   "CHR"  the raw bytes of the frame without checksum and stop byte (68 L L 68 C A CI data)
//   other  the hex text without checksum and stop byte: "68 03 03 68 53 FD BB"
// Modes are compared exactly ("hex" is another mode).
//
// Secondary addresses are identification numbers of 1 to 8 decimal digits (a number, or a text
// with nothing but blanks around the digits). Primary addresses are whole numbers from 0 to 250.
// Anything else, even a value that reads as a number ("+1234567", "1.5", "-1", 251), makes the
// builder answer "Keine gültige ID erhalten" instead of a frame, so that a typing error can never
// reach another meter.

#include <QByteArray>
#include <QString>
#include <QVariant>

// What a frame builder gives back.
struct MBusRahmen
{
    // "HEX" and other modes: the frame text. After a bad argument: the builder's error text (in
    // every mode). Empty in mode "CHR".
    QString text;
    // Mode "CHR": the raw bytes. Empty in the other modes and after a bad argument, so a bad
    // argument never puts bytes on the bus.
    QByteArray bytes;
    // False after a bad argument.
    bool gueltig = false;
};

// Select by secondary address: 68 0B 0B 68 53 FD 52, the address bytes (MB_SekAdrToHex).
MBusRahmen MB_TelSelectSekAdr(const QVariant& sekAdr, const QString& modus);

// Application reset of the selected meter: 68 03 03 68 73 FD 50 (HEX: ... C0 16), FCB 1, to go
// between a select (FCB 0) and the select again before the REQ_UD2. A meter that answers in
// several telegrams starts its sequence afresh: the next REQ_UD2 gets the first one.
MBusRahmen MB_TelAnwendungsReset(const QString& modus);

// New primary address for the selected meter: 68 06 06 68 53 FD 51 01 7A, the address.
MBusRahmen MB_TelSetPrimAdr(const QVariant& primAdr, const QString& modus);

// New baud rate for the selected meter: 68 03 03 68 53 FD and the baud code B8 (300), B9 (600),
// BA (1200), BB (2400), BC (4800), BD (9600). Every other rate gets BB. A baud that is no number
// answers "Keine gültige Baudrate erhalten".
MBusRahmen MB_TelSetBaudrate(const QVariant& baud, const QString& modus);

// New primary address for a meter addressed by its secondary address:
// 68 0E 0E 68 53 FD 51, the secondary address bytes, 01 7A, the new primary address.
MBusRahmen MB_TelSetPrimAdrSekAdr(const QVariant& sekAdr, const QVariant& primAdr,
                                  const QString& modus);

// New baud rate for a meter addressed by its secondary address:
// 68 0B 0B 68 53 FD, the baud code, the secondary address bytes. A bad secondary address and a
// baud that is no number both answer "Keine gültige ID erhalten".
MBusRahmen MB_TelSetBaudrateSekAdr(const QVariant& sekAdr, const QVariant& baud,
                                   const QString& modus);
