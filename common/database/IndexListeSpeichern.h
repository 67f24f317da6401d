#pragma once
// Rewriting a meter's rows of the index list MB_IndexListe from the data records of its last
// answer, on MB_Connection.

#include <QList>
#include <QString>

// The parts of one data record that its index-list row takes.
struct IndexListenWert
{
    QString art;     // value-information text, stored as it is (blanks included)
    QString einheit; // unit text
};

// MBTyp of a unit: 1 when the text contains "kW", "/" or "°C", but 0 when it contains "kWh"
// (letter case counts); 0 otherwise.
int IndexListeMBTyp(const QString& einheit);

// The unit as stored: trailing blanks removed; a single blank when nothing is left.
QString IndexListeEinheit(const QString& einheit);

// Connects MB_Connection with DBParameter (failure: -1, nothing changed) and replaces every row
// of the meter in MB_IndexListe by one row per value, in order: lznr, MBIndex (1, 2, ...),
// Faktor 1, MBTyp, Art, Einheit, Speichern 1, Anzeigen 1 (Farbe and TarifNr take the table's
// defaults). The delete and the inserts are one transaction: on any failure nothing of it
// stays, the meter keeps its old rows, the program log gets "Fehler beim Speichern der
// Indexliste für lznr=" & lznr & " : " & the database's message, FehlerText holds that same
// line and the result is -1. Otherwise the number of rows written.
int IndexListeSchreiben(qint32 lznr, const QList<IndexListenWert>& werte);

// MB_IndexListeSpeichern for a master meter record (fields LZNR, AnzWerte and Werte[1 ..
// AnzWerte] with Art, Einheit, Speichern): IndexListeSchreiben of its values; after the rows
// are stored every Speichern of records 1 to AnzWerte is 255 (on failure they stay as they
// were). Returns the number of rows written, or -1.
template <class Zaehler> int MB_IndexListeSpeichern(Zaehler& zaehler)
{
    const int anzahl = static_cast<int>(zaehler.AnzWerte);
    QList<IndexListenWert> werte;
    werte.reserve(anzahl);
    for (int i = 1; i <= anzahl; ++i)
        werte.append({QString(zaehler.Werte[i].Art), QString(zaehler.Werte[i].Einheit)});
    const int ergebnis = IndexListeSchreiben(zaehler.LZNR, werte);
    if (ergebnis >= 0) {
        for (int i = 1; i <= anzahl; ++i)
            zaehler.Werte[i].Speichern = 255;
    }
    return ergebnis;
}
