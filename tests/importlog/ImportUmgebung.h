#pragma once
// The log-file import on real files: a fresh working folder that is DBPath with an empty
// basis.mdb, client 1320, a lock folder of its own, small value files, and daily logs written
// by the master's own log code at the times the test sets on the clock.

#include "support/TestUmgebung.h"

#include "database/BasisMdb.h"
#include "database/Schema.h"
#include "datafiles/RB6Wertdatei.h"
#include "datafiles/Wertdatei.h"
#include "log/Log.h"
#include "log/MasterLogZeile.h"
#include "platform/Global.h"
#include "platform/Pfad.h"
#include "platform/Sperren.h"

#include <QDir>

struct MasterZaehlerSatz
{
    QString id;   // MB_ID
    QString name; // Zname
    int port = 3;
    int adresse = 0;
};

class ImportUmgebung : public TestUmgebung
{
protected:
    static constexpr qint32 kTestBloecke = 20;

    void SetUp() override
    {
        TestUmgebung::SetUp();
        DBPath = QDir::currentPath() + u'/';
        Mandant = QStringLiteral("1320");
        RB6_StandardGroesse = kTestBloecke;
        Sperren::ordnerSetzen(pfad(QStringLiteral("sperren")));
        ASSERT_TRUE(DatenbankAnlegen(pfad(QStringLiteral("basis.mdb")))) << qPrintable(FehlerText);
    }
    void TearDown() override
    {
        DatenbankSchliessen();
        Sperren::ordnerSetzen(QString());
        RB6_StandardGroesse = kRB6_VorgabeBloecke;
        TestUmgebung::TearDown();
    }

    void zaehler(qint32 lznr, const QVariant& adresse, const QVariant& index, const QVariant& port)
    {
        std::unique_ptr<Verbindung> db =
            Verbindung::OpenDatabase(pfad(QStringLiteral("basis.mdb")));
        ASSERT_TRUE(db && db->Execute(QStringLiteral("INSERT INTO zaehler (LZNR, MBAdr, MBIndex, "
                                                     "MBComP) VALUES (?, ?, ?, ?)"),
                                      {lznr, adresse, index, port}))
            << qPrintable(FehlerText);
    }

    static QDateTime zeit(int jahr, int monat, int tag, int stunde = 0, int minute = 0,
                          int sekunde = 0)
    {
        return Wandzeit(QDate(jahr, monat, tag), QTime(stunde, minute, sekunde));
    }
    static UnixZeit unix(const QDateTime& zeit) { return DatumInUnixZeit(zeit); }

    // One read of a meter as the master logs it: records 1 to werte.size(), at the clock's time.
    void masterLiest(const QDateTime& wann, const MasterZaehlerSatz& z, const QList<double>& werte)
    {
        m_uhr.stellen(wann);
        for (int k = 1; k <= werte.size(); ++k)
            MasterLogZeileSchreiben(z.id, z.name, z.port, QString::number(z.adresse), k,
                                    werte[k - 1], QStringLiteral(" m^3 "));
    }
    // Any other line of the master's log at a time.
    void masterLogZeile(const QDateTime& wann, const QString& text)
    {
        m_uhr.stellen(wann);
        MBusLogSchreiben(text, QString(), kMBusLogSuffix);
    }

    QString wertdatei(qint32 lznr, qint32 index) const
    {
        return PfadAufloesen(RB6_DateiName(DBPath, lznr, index));
    }
    // The values of a value file (time, value) in record order; empty when unreadable.
    QList<RB6_Satz> werte(qint32 lznr, qint32 index) const
    {
        QList<RB6_Satz> ergebnis;
        RB6_Kopf kopf;
        const QString name = RB6_DateiName(DBPath, lznr, index);
        if (RB6_KopfLesen(name, kopf) != 0)
            return ergebnis;
        Wertdatei datei(name);
        const qint64 letzter = RB6_LetzterSatz(kopf);
        if (datei.oeffnenLesen() && letzter >= kRB6_ErsterWertsatz)
            datei.saetzeLesen(kRB6_ErsterWertsatz, letzter - kRB6_ErsterWertsatz + 1, ergebnis);
        return ergebnis;
    }
    // Writes values into a value file through the value-file service, as the master does.
    void wertdateiFuellen(qint32 lznr, qint32 index, const QList<RB6_Satz>& saetze)
    {
        for (const RB6_Satz& satz : saetze) {
            QString name;
            ASSERT_EQ(RB6_WertSchreiben(DBPath, lznr, satz.Tm, satz.Wert, index, name), 0)
                << qPrintable(FehlerText);
        }
    }
    QByteArray dateiBytes(const QString& pfad) const
    {
        QFile datei(pfad);
        return datei.open(QIODevice::ReadOnly) ? datei.readAll() : QByteArray();
    }
};

inline void PrintTo(const RB6_Satz& satz, std::ostream* aus)
{
    *aus << "(" << satz.Tm << ", " << satz.Wert << ")";
}
