#pragma once
// The rows a query returned, with a current row, and rows added or changed through it.
//
// The rows are read in full when the recordset opens (a snapshot), so no read keeps the
// database locked against other writers. Fields are found by name without regard to letter
// case; "zaehler.LZNR" also finds a field "LZNR". Moving: Eof() after the last row, Bof()
// before the first; an empty recordset is at both.
//
// A recordset on a table name, or on a SELECT from one table (no join), can add and change
// rows: AddNew or Edit, Setzen per field, Update. Update turns into one INSERT or UPDATE with
// bound values; a change finds its row by the table's primary key, which the recordset must
// carry. A failed Update drops the pending row, so the next AddNew starts empty. Rows added
// appear at the end of the recordset; rows changed show their new values.

#include "Feldwert.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

// Option of Verbindung::OpenRecordset: open a table only to add rows (no row is read).
constexpr int dbAppendOnly = 8;

class Recordset
{
public:
    Recordset() = default;

    bool offen() const { return m_offen; }
    void Close();

    bool Eof() const;
    bool Bof() const;
    int RecordCount() const;
    // Number of the current row from 0 (-1 before the first; RecordCount() after the last).
    int AbsolutePosition() const { return m_position; }
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();

    const QStringList& Feldnamen() const { return m_felder; }
    bool FeldVorhanden(const QString& name) const;
    // The field of the current row. No current row or no such field: an empty value, and
    // FehlerText says why.
    Feldwert Feld(const QString& name) const;
    // The field at a position of the current row (from 0, in the query's order).
    Feldwert FeldAn(int spalte) const;

    // Makes the first row whose field equals the value the current row (numbers as numbers,
    // texts without regard to letter case; an empty field equals nothing). False, and
    // NoMatch() true, when no row matches; the current row then stays.
    bool FindFirst(const QString& feld, const QVariant& wert);
    bool NoMatch() const { return m_keinTreffer; }

    // True when rows can be added and changed through this recordset.
    bool aktualisierbar() const { return m_offen && !m_tabelle.isEmpty(); }
    bool AddNew();
    bool Edit();
    // Sets a field of the row begun with AddNew or Edit.
    bool Setzen(const QString& feld, const QVariant& wert);
    bool Update();
    void CancelUpdate();

    // Number of the last failure (0 after a success).
    int Fehlernummer() const { return m_fehlernummer; }

private:
    friend class Verbindung;
    enum class Modus { Lesen, Neu, Aendern };

    int feldIndex(const QString& name) const;
    Feldwert wertAn(int index) const;
    int pufferIndex(const QString& feld) const;
    bool fehler(int nummer, const QString& text);
    const QStringList& schluessel();
    bool einfuegen();
    bool aendern();
    QVariantList zeileNachSchluessel(const QString& feld, const QVariant& wert);

    QString m_verbindung;
    QString m_tabelle;
    bool m_offen = false;
    bool m_nurAnfuegen = false;
    QStringList m_felder;
    QList<QVariantList> m_zeilen;
    int m_position = 0;
    bool m_keinTreffer = false;

    Modus m_modus = Modus::Lesen;
    QStringList m_pufferFelder;
    QVariantList m_pufferWerte;

    bool m_schluesselGelesen = false;
    QStringList m_schluessel;
    mutable int m_fehlernummer = 0;
};
