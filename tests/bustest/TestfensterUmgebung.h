#pragma once
// A test window on a fresh working folder: the command line is empty unless a test sets it,
// program starts are recorded, and the end of the program is recorded instead of ending the
// test run.

#include "bustest/EditorStart.h"
#include "bustest/frmMBustest.h"
#include "settings/Einstellungen.h"
#include "settings/IniDatei.h"
#include "support/TestUmgebung.h"

#include <memory>

class TestfensterUmgebung : public TestUmgebung
{
protected:
    void SetUp() override
    {
        TestUmgebung::SetUp();
        KommandozeileSetzen(QString());
        ProgrammStarterSetzen([this](const QString& programm, const QStringList& argumente) {
            m_starts << programm + QLatin1Char(' ') + argumente.join(QLatin1Char(' '));
            return m_startGelingt;
        });
    }

    void TearDown() override
    {
        m_fenster.reset();
        ProgrammStarterSetzen({});
        KommandozeileZuruecksetzen();
        TestUmgebung::TearDown();
    }

    frmMBustest& oeffnen()
    {
        m_fenster = std::make_unique<frmMBustest>();
        m_fenster->programmende().endeAktionSetzen([this] { ++m_programmEnden; });
        return *m_fenster;
    }

    QString ini(const QString& abschnitt, const QString& schluessel) const
    {
        return ProfilLesen(abschnitt, schluessel, QStringLiteral("<fehlt>"), kZepIni);
    }

    std::unique_ptr<frmMBustest> m_fenster;
    QStringList m_starts;
    bool m_startGelingt = true;
    int m_programmEnden = 0;
};
