#pragma once
// A fresh program state for each test: an empty working folder as current directory, empty
// program-wide values, a clock the test sets, and message boxes recorded instead of shown.

#include "platform/Meldung.h"
#include "platform/Uhr.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

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

// Removes the serial port lock files ("LCK..pts_7") that the ended process pid left behind: a
// test that kills a process holding a port removes them, so that no later program (of another
// user neither) finds the terminal number locked.
void PortsperrenEntfernen(qint64 pid);
