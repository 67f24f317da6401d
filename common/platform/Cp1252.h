#pragma once
// Windows-1252 text: every text file shared with the energy-data system is stored in it.

#include <QByteArray>
#include <QChar>
#include <QString>

// Bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D have no character in Windows-1252; like Windows they
// map to the control characters of the same code, so every byte survives a round trip.
QString Cp1252ZuText(const QByteArray& bytes);
// Characters outside Windows-1252 become "?".
QByteArray TextZuCp1252(const QString& text);

// The character of a Windows-1252 code; only the low byte of the code counts.
QChar Chr(int code);
// The Windows-1252 code of a character, "?" (63) when it has none.
int Asc(QChar zeichen);
