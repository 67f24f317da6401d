#pragma once
// The stored data of the meter and index-export editor: the list of M-Bus meters, one meter's
// heading and its export index list in MBusIndexListe (Lznr, MBIndex, Text).
//
// The rows live in basis.mdb in DBPath, opened for each operation and closed afterwards, or on a
// connection the caller keeps open (a server database with the same tables). Every value is
// bound; nothing throws. A failure returns false and leaves the reason in FehlerText.

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class Verbindung;

// One row of a meter's export index list, as the index grid shows it (texts).
struct IndexExportZeile
{
    QString lznr;
    QString index;
    QString text;

    bool operator==(const IndexExportZeile&) const = default;
};

// The heading of the edit frame: meter number, meter name and primary address.
struct ZaehlerKopf
{
    QString znr;
    QString zname;
    QString mbAdr; // "" unless the address is a number
};

// An index as typed: a whole number, blanks around it do not count; anything else is none.
std::optional<int> IndexWert(const QString& text);

class IndexExportDaten
{
public:
    // basis.mdb in DBPath.
    IndexExportDaten() = default;
    // A connection the caller keeps open for the lifetime of this object.
    explicit IndexExportDaten(Verbindung& verbindung) : m_verbindung(&verbindung) {}

    // True when the rows live in basis.mdb in DBPath.
    bool istBasisMdb() const { return m_verbindung == nullptr; }
    // What the window shows as its database.
    QString DatenbankName() const;

    // Creates the table MBusIndexListe (with its index) as the schema gives it when the
    // database lacks it, as an older basis.mdb does. False (FehlerText) when it is missing and
    // cannot be made.
    bool TabelleSicherstellen();

    // The M-Bus meters as ZaehlerListeLaden gives them (one row with one empty text: none).
    bool ZaehlerListeLaden(QList<QStringList>& liste);

    // The meter's heading (all empty when no meter has that number) and its export rows in
    // ascending order of MBIndex.
    bool ZaehlerLaden(qint32 lznr, ZaehlerKopf& kopf, QList<IndexExportZeile>& zeilen);

    // Replaces every export row of the meter by the given rows whose index is a whole number,
    // in their order (other rows are dropped); other meters' rows stay. The delete and the
    // inserts are one transaction: on failure the meter keeps its old rows. Returns the number
    // of rows stored, or -1.
    int IndexSpeichern(qint32 lznr, const QList<IndexExportZeile>& zeilen);

private:
    Verbindung* m_verbindung = nullptr;
};
