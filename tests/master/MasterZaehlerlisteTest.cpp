// The meter list of one COM port, on the meter database file and on a server database.

#include "database/ZielUmgebung.h"

#include "grid/GridModell.h"
#include "master/dienste/MasterZaehlerliste.h"

template <class Ziel> class MasterZaehlerlisteTest : public ZielUmgebung<Ziel>
{
protected:
    void SetUp() override
    {
        ZielUmgebung<Ziel>::SetUp();
        m_log.setRows(1);
        if (this->IsSkipped() || this->HasFatalFailure())
            return;
        this->pruefAusfuehren(QStringLiteral("INSERT INTO tagrp (TAGRP_NR, TAGRP_NAME, BasisTarif) "
                                             "VALUES (1, 'Wärme', 5), (2, 'Strom', 7)"));
    }

    // A meter of the list's kind unless the arguments say otherwise.
    void zaehler(int lznr, int adresse, int baud, const QVariant& id = QStringLiteral("id"),
                 int port = 3, int stufe = 1, const QString& quelle = QStringLiteral("M-Bus"),
                 int tarifgruppe = 1)
    {
        this->pruefAusfuehren(
            QStringLiteral("INSERT INTO zaehler (LZNR, MBAdr, MBBaud, MB_ID, MBComP, STUFE, "
                           "ZQUELLE, TARIFGRP, MBIndex, zname, MB_SelectSec) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?, 2, ?, 'sel')"),
            {lznr, adresse, baud, id, port, stufe, quelle, tarifgruppe,
             QStringLiteral("Z%1").arg(lznr)});
    }
    void index(int lznr, int mbIndex, int speichern, int typ = 1)
    {
        this->pruefAusfuehren(QStringLiteral("INSERT INTO MB_IndexListe (Lznr, MBIndex, Speichern, "
                                             "MBTyp) VALUES (?, ?, ?, ?)"),
                              {lznr, mbIndex, speichern, typ});
    }

    int laden(int port = 3)
    {
        this->verbinden();
        return BM_ZaehlerlisteLadenComPort(MB_Connection.get(), port,
                                           {m_grid, m_log, m_zaehler, m_auswahl});
    }
    // Texts of the log grid from the oldest line on (without date and time).
    QStringList logTexte() const
    {
        QStringList texte;
        for (int zeile = m_log.Rows() - 1; zeile >= 1; --zeile)
            texte << m_log.TextMatrix(zeile, 1);
        return texte;
    }
    QStringList spalte(int nummer) const
    {
        QStringList texte;
        for (int zeile = 1; zeile < m_grid.Rows(); ++zeile)
            texte << m_grid.TextMatrix(zeile, nummer);
        return texte;
    }

    GridModell m_grid;
    GridModell m_log;
    std::vector<MBZaehler> m_zaehler;
    QStringList m_auswahl;
};

TYPED_TEST_SUITE(MasterZaehlerlisteTest, DatenbankZiele, ZielName);

TYPED_TEST(MasterZaehlerlisteTest, loadsThePortsMetersOrderedWithTheirIndexLists)
{
    this->zaehler(1, 5, 2400, QStringLiteral("11111111"));
    this->zaehler(2, 2, 2400, QStringLiteral("22222222"));
    this->zaehler(3, 9, 9600, QStringLiteral("33333333"), 3, 1, QStringLiteral("m-bus"), 2);
    this->zaehler(4, 1, 9600, QStringLiteral("stufe0"), 3, 0);
    this->zaehler(5, 1, 9600, QStringLiteral("andere"), 3, 1, QStringLiteral("S0"));
    this->zaehler(6, 1, 9600, QStringLiteral("port4"), 4);
    this->zaehler(7, 1, 9600, QStringLiteral("ohneTarif"), 3, 1, QStringLiteral("M-Bus"), 99);
    this->index(1, 2, 1, 1);
    this->index(1, 300, 1);
    this->index(3, 1, 0, 7);

    EXPECT_EQ(this->laden(), 4);
    EXPECT_EQ(this->m_grid.Cols(), 7);
    EXPECT_EQ(this->spalte(0), (QStringList{"9", "2", "5"}));
    EXPECT_EQ(this->spalte(1), (QStringList{"9600", "2400", "2400"}));
    EXPECT_EQ(this->spalte(5), (QStringList{"33333333", "22222222", "11111111"}));
    EXPECT_EQ(this->spalte(6), (QStringList{"Strom", "Wärme", "Wärme"}));
    EXPECT_EQ(this->m_auswahl, (QStringList{"9;33333333;7", "2;22222222;5", "5;11111111;5"}));
    EXPECT_EQ(this->logTexte(),
              (QStringList{"Lade Zählerliste. Anz = 4", "Geladene Zähler. Anz = 3",
                           "Für lznr 2 Index 2 keine Indexliste ",
                           "Indexliste lznr 1: MBIndex 300 liegt nicht in 0 bis 255, übergangen"}));
    EXPECT_TRUE(this->m_log.TextMatrix(1, 0).startsWith(QStringLiteral("05.12.2026 ")));

    ASSERT_EQ(this->m_zaehler.size(), 5u);
    const MBZaehler& erster = this->m_zaehler[1];
    EXPECT_EQ(erster.LZNR, 3);
    EXPECT_EQ(erster.MBAdr, 9);
    EXPECT_EQ(erster.MBBaud, 9600);
    EXPECT_EQ(erster.MBComP, 3);
    EXPECT_EQ(erster.BasisTarif, 7);
    EXPECT_EQ(erster.MBIndex, 2);
    EXPECT_EQ(erster.Zname, QStringLiteral("Z3"));
    EXPECT_EQ(erster.MB_SelectSec, QStringLiteral("sel"));
    EXPECT_EQ(erster.IndexAnz, 1);
    EXPECT_EQ(erster.Werte[1].Speichern, 0);
    EXPECT_EQ(erster.Werte[1].MBTyp, 7);
    EXPECT_EQ(this->m_zaehler[2].IndexAnz, 0);
    const MBZaehler& dritter = this->m_zaehler[3];
    EXPECT_EQ(dritter.IndexAnz, 2);
    EXPECT_EQ(dritter.Werte[2].Speichern, 255);
    EXPECT_EQ(dritter.Werte[2].MBTyp, 1);
}

TYPED_TEST(MasterZaehlerlisteTest, reloadStartsEveryRecordAnewAndEmptyFieldsStayEmpty)
{
    this->zaehler(1, 5, 2400, QStringLiteral("11111111"));
    ASSERT_EQ(this->laden(), 2);
    this->m_zaehler[1].Gelesen = 7;
    this->m_zaehler[1].Werte[3].Wert = 1.5;
    this->pruefAusfuehren(QStringLiteral("UPDATE zaehler SET MB_ID = NULL, MBBaud = NULL"));
    ASSERT_EQ(this->laden(), 2);
    EXPECT_EQ(this->m_zaehler[1].Gelesen, 0);
    EXPECT_EQ(this->m_zaehler[1].Werte[3].Wert, 0.0);
    EXPECT_EQ(this->m_zaehler[1].MB_ID, QString());
    EXPECT_EQ(this->m_grid.TextMatrix(1, 5), QString());
    EXPECT_EQ(this->m_grid.TextMatrix(1, 1), QString());
}

TYPED_TEST(MasterZaehlerlisteTest, noMeterOrNoPortChangesNothing)
{
    this->zaehler(1, 5, 2400);
    ASSERT_EQ(this->laden(), 2);
    EXPECT_EQ(this->laden(8), -1);
    EXPECT_EQ(this->logTexte().last(), QStringLiteral("Fehler keine Zähler.  ComPort = 8"));
    EXPECT_EQ(this->laden(0), -1);
    EXPECT_EQ(this->m_meldungen.texte, QStringList{QStringLiteral("Kein Comport anngegeben")});
    EXPECT_EQ(this->m_grid.Rows(), 2);
    EXPECT_EQ(this->m_zaehler.size(), 3u);
    EXPECT_EQ(this->m_auswahl.size(), 1);
}

TYPED_TEST(MasterZaehlerlisteTest, atMost254MetersOnAPort)
{
    for (int anzahl : {254, 255}) {
        this->pruefAusfuehren(QStringLiteral("DELETE FROM zaehler"));
        for (int lznr = 1; lznr <= anzahl; ++lznr)
            this->zaehler(lznr, lznr % 250, 2400);
        this->m_grid.setRows(2);
        this->m_zaehler.assign(3, MBZaehler());
        const int ergebnis = this->laden();
        MB_ConnectionSchliessen();
        if (anzahl == 254) {
            EXPECT_EQ(ergebnis, 255);
            EXPECT_EQ(this->m_zaehler.size(), 256u);
        } else {
            EXPECT_EQ(ergebnis, -1);
            EXPECT_EQ(this->m_grid.Rows(), 2);
            EXPECT_EQ(this->m_zaehler.size(), 3u);
            EXPECT_TRUE(this->logTexte().last().startsWith(
                QStringLiteral("Fehler ZählerlisteLadenComPort = 3 Errorcode= 255 Zähler")))
                << qPrintable(this->logTexte().last());
        }
    }
}

TYPED_TEST(MasterZaehlerlisteTest, missingTablesEndTheLoadWithItsLogLine)
{
    this->zaehler(1, 5, 2400);
    this->pruefAusfuehren(QStringLiteral("DROP TABLE MB_IndexListe"));
    EXPECT_EQ(this->laden(), 2);
    EXPECT_TRUE(this->logTexte().last().startsWith(
        QStringLiteral("Fehler ZählerlisteLadenComPort = 3 Errorcode= ")));
    MB_ConnectionSchliessen();
    this->pruefAusfuehren(QStringLiteral("DROP TABLE zaehler"));
    EXPECT_EQ(this->laden(), -1);
    EXPECT_TRUE(this->logTexte().last().startsWith(
        QStringLiteral("Fehler ZählerlisteLadenComPort = 3 Errorcode= ")));
}
