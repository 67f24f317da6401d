#include "DatenbankUmgebung.h"

#include "database/Transaktion.h"

#include "platform/Global.h"

#include <QStringList>

#include <algorithm>

#include <sys/wait.h>
#include <unistd.h>

class TransaktionTest : public DatenbankUmgebung
{
protected:
    void SetUp() override
    {
        DatenbankUmgebung::SetUp();
        basisAnlegen();
        for (int i = 1; i <= 3; ++i)
            ausfuehren(QStringLiteral("INSERT INTO MBusIndexListe (Lznr, MBIndex, Text) VALUES "
                                      "(?, ?, ?)"),
                       {7, i, QStringLiteral("alt %1").arg(i)});
    }

    int zeilen(const QString& bedingung)
    {
        return abfragen(QStringLiteral("SELECT count(*) FROM MBusIndexListe WHERE ") + bedingung)
            .toInt();
    }
};

TEST_F(TransaktionTest, failureHalfWayLeavesTheOldRows)
{
    std::unique_ptr<Verbindung> db = oeffnen();
    {
        Transaktion transaktion(*db);
        ASSERT_TRUE(transaktion.begonnen()) << qPrintable(FehlerText);
        ASSERT_TRUE(db->Execute(QStringLiteral("DELETE FROM MBusIndexListe WHERE Lznr = ?"), {7}));
        ASSERT_TRUE(db->Execute(
            QStringLiteral("INSERT INTO MBusIndexListe (Lznr, MBIndex, Text) VALUES (?, ?, ?)"),
            {7, 1, QStringLiteral("neu")}));
        EXPECT_FALSE(db->Execute(
            QStringLiteral("INSERT INTO MBusIndexListe (Lznr, Gibtsnicht) VALUES (?, ?)"), {7, 2}));
        // no Commit: leaving the block undoes the transaction
    }
    // read on the same connection, which would see its own changes had they stayed
    Recordset rs =
        db->OpenRecordset(QStringLiteral("SELECT Text FROM MBusIndexListe ORDER BY MBIndex"));
    QStringList texte;
    for (; !rs.Eof(); rs.MoveNext())
        texte << rs.Feld(QStringLiteral("Text")).text();
    EXPECT_EQ(texte, (QStringList{"alt 1", "alt 2", "alt 3"}));
}

TEST_F(TransaktionTest, commitKeepsTheNewRows)
{
    std::unique_ptr<Verbindung> db = oeffnen();
    Transaktion transaktion(*db);
    ASSERT_TRUE(db->Execute(QStringLiteral("DELETE FROM MBusIndexListe WHERE Lznr = ?"), {7}));
    ASSERT_TRUE(db->Execute(
        QStringLiteral("INSERT INTO MBusIndexListe (Lznr, MBIndex, Text) VALUES (?, ?, ?)"),
        {7, 1, QStringLiteral("neu")}));
    ASSERT_TRUE(transaktion.Commit()) << qPrintable(FehlerText);
    EXPECT_FALSE(transaktion.begonnen());
    EXPECT_EQ(zeilen(QStringLiteral("Lznr = 7")), 1);
    EXPECT_EQ(zeilen(QStringLiteral("Text = 'neu'")), 1);
}

TEST_F(TransaktionTest, transactionOnAClosedConnectionDoesNotBegin)
{
    std::unique_ptr<Verbindung> db = oeffnen();
    db->Close();
    Transaktion transaktion(*db);
    EXPECT_FALSE(transaktion.begonnen());
    EXPECT_FALSE(transaktion.Commit());
}

// Two master processes writing one file, each with its own connection: every row of both
// arrives, none is refused as "database is locked".
TEST_F(TransaktionTest, twoProcessesWritingOneFileLoseNothing)
{
    constexpr int zeilenJeProzess = 300;
    const QString datei = basisPfad();

    // Returns the number of rows that could not be written.
    const auto schreiben = [&](int nummer) {
        std::unique_ptr<Verbindung> db = Verbindung::OpenDatabase(datei);
        if (!db)
            return zeilenJeProzess;
        int fehler = 0;
        const QString sql =
            QStringLiteral("INSERT INTO MBusWerte (lznr, Tm, idx, Wert) VALUES (?, ?, 1, ?)");
        for (int i = 0; i < zeilenJeProzess; ++i) {
            const QVariantList werte{nummer, i, i * 0.5};
            // every tenth row inside a short transaction, the others one by one
            if (i % 10 == 0) {
                Transaktion transaktion(*db);
                if (!transaktion.begonnen() || !db->Execute(sql, werte) || !transaktion.Commit())
                    ++fehler;
            } else if (!db->Execute(sql, werte)) {
                ++fehler;
            }
        }
        return fehler;
    };

    int start[2];
    ASSERT_EQ(pipe(start), 0);
    pid_t kinder[2];
    for (int nummer = 0; nummer < 2; ++nummer) {
        kinder[nummer] = fork();
        ASSERT_GE(kinder[nummer], 0);
        if (kinder[nummer] == 0) {
            close(start[1]);
            char zeichen;
            (void)!read(start[0], &zeichen, 1); // both start when the parent closes the pipe
            _exit(std::min(schreiben(nummer), 255));
        }
    }
    close(start[0]);
    close(start[1]);
    for (pid_t kind : kinder) {
        int status = 0;
        ASSERT_EQ(waitpid(kind, &status, 0), kind);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "rows not written";
    }
    EXPECT_EQ(abfragen(QStringLiteral("SELECT count(*) FROM MBusWerte WHERE lznr = 0")).toInt(),
              zeilenJeProzess);
    EXPECT_EQ(abfragen(QStringLiteral("SELECT count(*) FROM MBusWerte WHERE lznr = 1")).toInt(),
              zeilenJeProzess);
}
