#include "log/MasterLogZeile.h"

#include "log/Log.h"
#include "text/Texte.h"

QString MasterLogZeile(const QString& mbId, const QString& zname, int port, const QString& adresse,
                       int k, double wert, const QString& einheit)
{
    QString id = mbId;
    QString ohne;
    ReplaceAll(id, QStringLiteral("f"), ohne);
    const QStringList felder{id,
                             zname,
                             QString::number(port),
                             adresse,
                             QString::number(k),
                             ZahlAlsText(wert),
                             BlanksTrimmen(einheit)};
    return felder.join(u';') + u';';
}

QString MasterIndex1Zeile(const QString& mbId, const QString& zname, double wert,
                          const QString& einheit)
{
    QString id = mbId;
    QString ohne;
    ReplaceAll(id, QStringLiteral("f"), ohne);
    const QStringList felder{id, zname, ZahlAlsText(wert), BlanksTrimmen(einheit)};
    return felder.join(u';') + u';';
}

QString MasterLogLesefehler(const QString& adresse, int leseFehler, int rc)
{
    return adresse + QStringLiteral(";Lesefehler;") + QString::number(leseFehler) +
           QStringLiteral(";rc=") + QString::number(rc);
}

QString MasterLogLeseabbruch(const QString& adresse, int leseFehler, int rc)
{
    return adresse + QStringLiteral(";Lesen abgebrochen (Programmende);") +
           QString::number(leseFehler) + QStringLiteral(";rc=") + QString::number(rc);
}

void MasterLogZeileSchreiben(const QString& mbId, const QString& zname, int port,
                             const QString& adresse, int k, double wert, const QString& einheit)
{
    MBusLogSchreiben(MasterLogZeile(mbId, zname, port, adresse, k, wert, einheit), kMasterLogKopf,
                     kMBusLogSuffix);
}
