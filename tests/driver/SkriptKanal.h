#pragma once
// A bus line and a clock that the test drives: it sees every frame the master writes, puts bytes
// into its input (or lets the next write be answered) and moves time by hand.

#include "driver/engine/Zeitparameter.h"
#include "driver/transport/Buskanal.h"
#include "driver/transport/Busuhr.h"

#include <QByteArray>
#include <QList>

#include <memory>
#include <utility>

namespace treibertest {

struct Leitung
{
    bool offen = false;
    int oeffnenFehler = 0; // what the next open gives
    int geoeffnetMitBaud = 0;
    int oeffnungen = 0;
    bool schreibenScheitert = false;
    QList<QByteArray> gesendet;
    QByteArray eingang;
    // Bytes that arrive behind the next frame written (a meter's answer): the clock moves on by
    // the frame's time on the wire and a meter's least answer delay.
    QList<QByteArray> antworten;
    mbus::Buszeit jetzt{1'000'000};
    // How far the clock moves on by itself at each look (for waits that run on their own).
    mbus::Dauer schritt{0};
    // The modem lines: every DTR change, and whether bytes are still on their way out.
    QList<bool> dtr;
    bool sendetNoch = false;
    // Waits (warten) move the clock on by the time asked for and are noted, unless bytes are
    // waiting to be read; otherwise a wait only yields and the clock moves by `schritt`.
    bool schlafMitUhr = false;
    QList<mbus::Dauer> schlaefe;
};

class SkriptKanal : public mbus::Buskanal
{
public:
    explicit SkriptKanal(std::shared_ptr<Leitung> leitung) : m_leitung(std::move(leitung)) {}

    int oeffnen(int /*port*/, int baud) override
    {
        ++m_leitung->oeffnungen;
        m_leitung->offen = m_leitung->oeffnenFehler == 0;
        if (m_leitung->offen)
            m_leitung->geoeffnetMitBaud = baud;
        return m_leitung->oeffnenFehler;
    }
    void schliessen() override { m_leitung->offen = false; }
    bool offen() const override { return m_leitung->offen; }
    QByteArray lesen() override
    {
        if (!m_leitung->offen)
            return {};
        return std::exchange(m_leitung->eingang, QByteArray());
    }
    bool schreiben(const QByteArray& bytes) override
    {
        if (!m_leitung->offen || m_leitung->schreibenScheitert)
            return false;
        m_leitung->gesendet << bytes;
        if (!m_leitung->antworten.isEmpty()) {
            // A meter answers once the frame has left the wire and its least delay has passed.
            mbus::Zeitparameter z;
            z.baud = m_leitung->geoeffnetMitBaud;
            m_leitung->jetzt +=
                mbus::Sendedauer(z, bytes.size()) + mbus::Bitzeiten(z, mbus::kBitsJeZeichen);
            m_leitung->eingang += m_leitung->antworten.takeFirst();
        }
        return true;
    }
    void setzeDtr(bool an) override { m_leitung->dtr << an; }
    bool sendetNoch() override { return m_leitung->sendetNoch; }
    bool warten(std::chrono::microseconds dauer) override
    {
        if (!m_leitung->schlafMitUhr)
            return mbus::Buskanal::warten(dauer);
        if (!m_leitung->eingang.isEmpty())
            return true; // bytes that came end a wait at once
        m_leitung->schlaefe << dauer;
        m_leitung->jetzt += dauer;
        return true;
    }

private:
    std::shared_ptr<Leitung> m_leitung;
};

class SkriptUhr : public mbus::Busuhr
{
public:
    explicit SkriptUhr(std::shared_ptr<Leitung> leitung) : m_leitung(std::move(leitung)) {}
    mbus::Buszeit jetzt() const override
    {
        m_leitung->jetzt += m_leitung->schritt;
        return m_leitung->jetzt;
    }

private:
    std::shared_ptr<Leitung> m_leitung;
};

} // namespace treibertest
