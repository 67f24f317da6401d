#pragma once
// A fresh program state for each test: an empty working folder as current directory, empty
// program-wide values, a clock the test sets, and message boxes recorded instead of shown.

#include "platform/Meldung.h"
#include "platform/Uhr.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

#include "QtDrucken.h"

#include <gtest/gtest.h>

class AufzeichnendeMeldungen : public MeldungSink
{
public:
    int msgBox(const QString& text, int stil, const QString& titel) override
    {
        texte << text;
        titel_ << titel;
        return antworten.isEmpty() ? vbOK : antworten.takeFirst();
    }
    void beep() override { ++beeps; }
    void mauszeiger(int zeiger) override { zeiger_ << zeiger; }

    QStringList texte;
    QStringList titel_;
    QList<int> antworten; // answers given in turn; vbOK when none is left
    QList<int> zeiger_;
    int beeps = 0;
};

class TestUmgebung : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Absolute path of a name inside the working folder.
    QString pfad(const QString& name) const;
    // Writes bytes to a file inside the working folder (folders created as needed).
    void schreiben(const QString& name, const QByteArray& bytes) const;
    // Reads the bytes of a file inside the working folder ("" when missing).
    QByteArray lesen(const QString& name) const;

    QTemporaryDir m_ordner;
    QString m_vorherigerOrdner;
    StellbareUhr m_uhr;
    AufzeichnendeMeldungen m_meldungen;
};

// Path of a file of the shared test data.
QString Testdaten(const QString& relativ);

// Polls the condition every 20 ms until it holds (true) or ms have passed (false): for the state
// of other processes, which no event of this one announces.
bool BisWahr(const std::function<bool()>& bedingung, int ms = 30000);

// Removes the lock files that the ended process pid left behind: the serial port locks
// ("LCK..pts_7"), so that no later program (of another user neither) finds the terminal number
// locked, and the write locks of settings files in the temporary folder. A test that kills a
// process calls it once the process has ended.
void SperrdateienEntfernen(qint64 pid);

// A test process that may reach the test server (TELVARIN_TEST_ODBC set) has its ODBC driver
// manager read the driver list from a copy of the system's odbcinst.ini in a folder of its own,
// with the drivers' logs and the driver manager's trace off (CommLog, Debug, Trace): Debian's
// odbcinst.ini turns the PostgreSQL driver's communication log on, and that driver then writes
// a file per process into /tmp, whatever a connection string says, as soon as none of the
// process's connections is open. Without TELVARIN_TEST_ODBC nothing changes. gueltig() is false
// (the reason on standard error) when the copy cannot be made. The main functions hold one for
// the whole run, made before any test; the copy goes when it is destroyed.
class OdbcOhneProtokolle
{
public:
    OdbcOhneProtokolle();
    bool gueltig() const { return m_gueltig; }

private:
    std::unique_ptr<QTemporaryDir> m_ordner;
    bool m_gueltig = true;
};
