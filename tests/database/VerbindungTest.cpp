#include "DatenbankUmgebung.h"

#include "database/DatenbankFehler.h"
#include "database/Schema.h"

#include "platform/Global.h"

#include <QDir>
#include <QFile>

class VerbindungTest : public DatenbankUmgebung
{
};

TEST_F(VerbindungTest, missingFileIsAnErrorAndCreatesNoFile)
{
    EXPECT_FALSE(Verbindung::OpenDatabase(basisPfad()));
    EXPECT_EQ(FehlerText, QStringLiteral("Datei '%1' nicht gefunden.").arg(basisPfad()));
    EXPECT_FALSE(QFile::exists(basisPfad()));
}

TEST_F(VerbindungTest, fileThatIsNoDatabaseIsAnError)
{
    schreiben(QStringLiteral("basis.mdb"), QByteArray(4096, 'x'));
    EXPECT_FALSE(Verbindung::OpenDatabase(basisPfad()));
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_EQ(lesen(QStringLiteral("basis.mdb")), QByteArray(4096, 'x'));
}

TEST_F(VerbindungTest, windowsPathWithOtherLetterCaseFindsTheFile)
{
    QDir().mkdir(pfad(QStringLiteral("db200")));
    ASSERT_TRUE(DatenbankAnlegen(pfad(QStringLiteral("db200/basis.mdb"))));
    EXPECT_TRUE(Verbindung::OpenDatabase(QStringLiteral(".\\DB200\\basis.mdb")));
}

TEST_F(VerbindungTest, closedConnectionReportsEveryStatement)
{
    basisAnlegen();
    std::unique_ptr<Verbindung> db = oeffnen();
    db->Close();
    EXPECT_FALSE(db->offen());
    EXPECT_FALSE(db->Execute(QStringLiteral("DELETE FROM zaehler")));
    EXPECT_EQ(db->Fehlernummer(), dbFehlerGeschlossen);
    EXPECT_FALSE(db->OpenRecordset(QStringLiteral("zaehler")).offen());
}

TEST_F(VerbindungTest, failedStatementGivesTheDatabaseMessage)
{
    basisAnlegen();
    std::unique_ptr<Verbindung> db = oeffnen();
    EXPECT_FALSE(db->Execute(QStringLiteral("DELETE FROM gibtsnicht")));
    EXPECT_TRUE(FehlerText.contains(QStringLiteral("gibtsnicht"))) << qPrintable(FehlerText);
    EXPECT_NE(db->Fehlernummer(), 0);
}

TEST_F(VerbindungTest, recordsAffectedCountsTheRowsChanged)
{
    basisAnlegen();
    zaehlerEinfuegen({1, "M-Bus", 1, 1});
    zaehlerEinfuegen({2, "M-Bus", 1, 2});
    zaehlerEinfuegen({3, "S0001", 1, 3});
    std::unique_ptr<Verbindung> db = oeffnen();
    ASSERT_TRUE(db->Execute(QStringLiteral("UPDATE zaehler SET STUFE = ? WHERE ZQUELLE = ?"),
                            {1, QStringLiteral("m-bus")}));
    EXPECT_EQ(db->RecordsAffected(), 2);
}

TEST_F(VerbindungTest, tableAndFieldNamesIgnoreLetterCase)
{
    basisAnlegen();
    std::unique_ptr<Verbindung> db = oeffnen();
    EXPECT_TRUE(db->TabelleVorhanden(QStringLiteral("mb_indexliste")));
    EXPECT_TRUE(db->FeldVorhanden(QStringLiteral("ZAEHLER"), QStringLiteral("mbcomp")));
    EXPECT_FALSE(db->FeldVorhanden(QStringLiteral("zaehler"), QStringLiteral("gibtsnicht")));
    EXPECT_FALSE(db->TabelleVorhanden(QStringLiteral("gibtsnicht")));
}

TEST_F(VerbindungTest, openConnectionsAreListedUntilClosed)
{
    basisAnlegen();
    const qsizetype vorher = Verbindung::offeneVerbindungen().size();
    std::unique_ptr<Verbindung> erste = oeffnen();
    std::unique_ptr<Verbindung> zweite = oeffnen();
    EXPECT_EQ(Verbindung::offeneVerbindungen().mid(vorher),
              (QList<Verbindung*>{erste.get(), zweite.get()}));
    erste.reset();
    EXPECT_EQ(Verbindung::offeneVerbindungen().mid(vorher), QList<Verbindung*>{zweite.get()});
}
