#pragma once
// Tests of the database layer: a fresh working folder (TestUmgebung) that is also DBPath, and
// helpers to create basis.mdb there and fill it.

#include "support/TestUmgebung.h"

#include "database/Verbindung.h"

#include <QString>
#include <QVariant>

#include <memory>

class DatenbankUmgebung : public TestUmgebung
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates an empty basis.mdb in the working folder.
    void basisAnlegen();
    // A connection of its own to basis.mdb (the test fails when it cannot be opened).
    std::unique_ptr<Verbindung> oeffnen();
    // Runs a statement on basis.mdb with bound values (the test fails when it fails).
    void ausfuehren(const QString& sql, const QVariantList& werte = {});
    // The first column of the first row of a query on basis.mdb ("" when there is none).
    QVariant abfragen(const QString& sql, const QVariantList& werte = {});

    // A meter row of zaehler.
    struct Zaehler
    {
        int lznr;
        QVariant quelle;
        QVariant port;
        QVariant adresse;
    };
    void zaehlerEinfuegen(const Zaehler& zaehler);

    QString basisPfad() const { return pfad(QStringLiteral("basis.mdb")); }
};
