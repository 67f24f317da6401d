#pragma once
// The service check of the master: looks at a system service on this computer and starts it
// when it is stopped, or thaws it when it is frozen. The service is a systemd unit.
//
// Results (fixed numbers, which the master cycle turns into its status text):
//   4  running (active, reloading): left alone
//   1  was stopped (inactive, failed), start requested
//   7  was frozen (paused), thaw requested
//   2  starting (activating), 3 stopping (deactivating)
//  -1  no such unit, no answer in time, a state not listed, or the start/thaw failed;
//      FehlerText says why
// The state is not read again after a start or thaw. 0 is never a result.

#include <QString>

struct DienstZustand
{
    QString loadState;    // "loaded", "not-found", ...
    QString activeState;  // "active", "inactive", "failed", "activating", ...
    QString freezerState; // "running", "frozen", ...
};

// The commands of the service manager, as the check needs them. Every call has a deadline and
// returns false with the reason in fehler on failure.
class DienstSteuerung
{
public:
    virtual ~DienstSteuerung() = default;
    virtual bool zustand(const QString& unit, DienstZustand& zustand, QString& fehler) = 0;
    virtual bool starten(const QString& unit, QString& fehler) = 0;
    virtual bool fortsetzen(const QString& unit, QString& fehler) = 0;
};

// systemctl through QProcess: "show -p LoadState,ActiveState,FreezerState", "start --no-block",
// "thaw". Each call runs the event loop until systemctl has ended or fristMs have passed (then
// it is killed).
class SystemctlSteuerung : public DienstSteuerung
{
public:
    explicit SystemctlSteuerung(QString programm = QStringLiteral("systemctl"),
                                int fristMs = 10000);
    bool zustand(const QString& unit, DienstZustand& zustand, QString& fehler) override;
    bool starten(const QString& unit, QString& fehler) override;
    bool fortsetzen(const QString& unit, QString& fehler) override;

private:
    bool ausfuehren(const QStringList& argumente, QByteArray& ausgabe, QString& fehler) const;

    QString m_programm;
    int m_fristMs;
};

int CheckService(const QString& unit, DienstSteuerung& steuerung);

// The text of the test button's box for a result of CheckService.
QString DienstStatusText(int status);
