#pragma once
// One interval file opened by a service: the file addressed as 4-byte little-endian records
// numbered from 1, holding a file number while it is open. A missing file is never created
// except through anlegen(). Every failing step leaves a run-time error text in fehler()
// ("Path not found", "File not found", ...); callers compare these texts.

#include "datafiles/RB_Kopf.h"
#include "log/Log.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <memory>

class RB_Datei
{
public:
    // name: the Windows-style name the services are given (DBPath & "00001234.15p").
    explicit RB_Datei(const QString& name);

    // The name resolved on this file system.
    const QString& pfad() const { return m_pfad; }

    // Opens an existing file for reading / for reading and writing.
    bool oeffnenLesen();
    bool oeffnenSchreiben();
    // Opens for reading and writing and creates the file when it is missing (the folder must
    // exist: ordnerFehlt() then tells).
    bool anlegen();
    void schliessen();
    // Closes and deletes the file.
    bool entfernen();

    // True when the last open failed because the file's folder does not exist.
    bool ordnerFehlt() const { return m_ordnerFehlt; }
    // True when the last open failed because the file does not exist.
    bool dateiFehlt() const { return m_dateiFehlt; }
    const QString& fehler() const { return m_fehler; }

    qint64 groesse() const;
    RB_Kopf kopfLesen();
    bool kopfSchreiben(const RB_Kopf& kopf);
    // The number at the record; 0 beyond the end of the file.
    qint32 satzLesen(qint64 satz);
    // Writes the numbers to the records from satz on; only inside the file, which never grows.
    bool saetzeSchreiben(qint64 satz, const QList<qint32>& werte);
    // Writes bytes at the current end of what was written so far (creation).
    bool anhaengen(const QByteArray& bytes);

private:
    bool oeffnen(QIODevice::OpenMode modus);
    void oeffnenFehlerMerken();
    void schreibFehlerMerken();
    bool schreibenBei(qint64 position, const QByteArray& bytes);

    QString m_name;
    QString m_pfad;
    QFile m_datei;
    std::unique_ptr<Dateinummer> m_nummer;
    QString m_fehler;
    bool m_ordnerFehlt = false;
    bool m_dateiFehlt = false;
};
