#pragma once
// Text helpers: replacement, umlauts, number text, ";"-separated field texts.
// Field texts end every field with a separator ("a;b;c;"), ";" unless a caller gives another.

#include <QString>
#include <QStringList>
#include <QVariant>

// Every occurrence of such replaced, also those that only arise by joining (aabb without ab is
// ""). A replacement that contains the search text replaces each original occurrence once.
// An empty search text returns the text unchanged. A replacement that keeps producing new
// occurrences without end ("ab" by "bbaa") is given up: the text comes back unchanged and
// FehlerText names the replacement.
QString ReplaceRekursiv(const QString& text, const QString& such, const QString& ersatz);

// In-place overwrite of each occurrence with the replacement (meant for equal lengths); an
// empty replacement becomes " " (also in the caller's variable); with " " as the replacement the
// text loses its leading and trailing blanks at the end. More than 1000 passes (1000
// occurrences already) show "Schwerer Fehler ReplaceAll! ..." and return at once.
// An empty search text leaves the text unchanged.
void ReplaceAll(QString& text, const QString& such, QString& ersatz);

// The text without leading and trailing blanks (tabs and other white space stay).
QString BlanksTrimmen(const QString& text);

// OEM umlauts read from DOS text files to their Windows-1252 characters.
void UmlauteErsetzen(QString& text);

// A value text ("12,5", "12.5", "-3", "1E3") as a double. "" gives 0; "," and "." are both
// read as the decimal sign, group separators never ("1.234" is 1.234); blanks around the number,
// a sign and an exponent ("1,5E-3") are allowed. A text that is no number gives 0 and sets
// FehlerText (which is otherwise left as it is). A value that already is a number is taken as is.
double MB_TextZuDouble(const QVariant& wert);

// Number as text in the German convention of the stored files: decimal comma, no grouping,
// up to 15 significant digits, no trailing zeros ("1234,5", "0,001", "-7", never "-0"). From
// 1E+15 on and below 0,0001 the exponent form ("1E+15", "1,5E-05"). No finite number: "0".
QString ZahlAlsText(double wert);

// Field n (from 0) of a field text; "" for an empty text and for n beyond the last field.
// A last field without its separator counts. An empty separator gives "".
QString GetFeld(const QString& text, int n, const QString& trenner = QStringLiteral(";"));
// The number of ";" in the text (a last field without separator does not count).
int GetFeldAnzahl(const QString& text);
// Occurrences of such, overlapping hits counted; 0 for an empty search text.
int AnzahlVorkommen(const QString& text, const QString& such);

// Splits a line at the separator; a separator does not split while the text since the last field
// end holds exactly one double quote (an opened quotation), and every double quote is removed
// from the fields. It yields (DoEvents) after each separator found. Field k (counted from 1) is
// element k - 1. A separator at the very end ends the last field and starts no new one ("a;b;"
// has 2 fields, "a;;" has 2, "" has 0), so a grid saved with a separator behind every cell
// reads back with the same column count.
QStringList ZeileZerlegen(const QString& zeile, const QString& trenner);

// The leading number of a text: blanks skipped, a sign, digits
// and one "." decimal point; "" and a text without a leading number give 0.
double Val(const QString& text);
