#pragma once
// An open value file: random access by record number, one file number held while open.
//
// Opening never creates a file except through anlegen(). Every failing step leaves its
// reason in fehler() ("<what failed>: <file name>"). Reads and writes are counted
// program-wide, so a benchmark or a test can see how many accesses a service needed; a test
// can also make writes fail after a number of successful ones.

#include "datafiles/RB6Satz.h"
#include "log/Log.h"

#include <QFile>
#include <QList>
#include <QString>

#include <optional>

class Wertdatei
{
public:
    // name as the caller knows it (Windows-style paths allowed; shown in error texts).
    explicit Wertdatei(const QString& name);
    ~Wertdatei();
    Wertdatei(const Wertdatei&) = delete;
    Wertdatei& operator=(const Wertdatei&) = delete;

    const QString& name() const { return m_name; }
    const QString& pfad() const { return m_pfad; }
    const QString& fehler() const { return m_fehler; }
    void fehlerLoeschen() { m_fehler.clear(); }

    // Opens an existing file for reading, or for reading and writing. A missing file is not
    // created.
    bool oeffnenLesen();
    bool oeffnenSchreiben();
    // Opens for reading and writing, creating the file when it is missing. When its folder
    // does not exist, that one folder is created and the open repeated once.
    bool anlegen();

    bool offen() const { return m_datei.isOpen(); }
    qint64 groesse() const;
    // Whole records in the file.
    qint64 saetze() const { return groesse() / kRB6_Satzlaenge; }

    // Reads bytes from a byte offset; fewer are returned when the file ends first.
    bool bytesLesen(qint64 offset, qint64 anzahl, QByteArray& bytes);
    // Reads record n; false (and the record zero) when it lies beyond the file's end.
    bool satzLesen(qint64 satz, RB6_Satz& ergebnis);
    // Reads anzahl records from record von on in one access; false when not all are there.
    bool saetzeLesen(qint64 von, qint64 anzahl, QList<RB6_Satz>& ergebnis);

    bool bytesSchreiben(qint64 offset, const QByteArray& bytes);
    bool satzSchreiben(qint64 satz, const RB6_Satz& wert);
    // Sets the file's length; new bytes read as zero.
    bool groesseSetzen(qint64 bytes);

    void schliessen();
    // Closes and deletes the file.
    bool loeschen();

    // Program-wide counts of read and write accesses.
    static qint64 leseZugriffe();
    static qint64 schreibZugriffe();
    static void zugriffeZuruecksetzen();
    // Tests: after this many further successful writes, every write and size change fails
    // (-1: never).
    static void schreibfehlerNach(int zugriffe);

private:
    bool oeffnen(QIODevice::OpenMode modus);
    bool misslungen(const QString& was);
    bool schreibenErlaubt();

    QString m_name;
    QString m_pfad;
    QFile m_datei;
    std::optional<Dateinummer> m_nummer;
    QString m_fehler;
};
