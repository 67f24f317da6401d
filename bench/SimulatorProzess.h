#pragma once
// The bus simulator as a child process for the scan benchmarks, so that its work is not counted
// as the program's CPU time. Its terminal becomes COM<port> in the working folder's ZEP.INI.

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>

#include <sys/resource.h>

class SimulatorProzess
{
public:
    explicit SimulatorProzess(int port) : m_port(port) {}

    bool starten(const QString& busText)
    {
        QFile datei(QStringLiteral("bench.bus"));
        if (!datei.open(QIODevice::WriteOnly) || datei.write(busText.toUtf8()) < 0)
            return false;
        datei.close();
        m_prozess.setProgram(QStringLiteral(TELVARIN_MBUS_SIM));
        m_prozess.setArguments({QStringLiteral("bench.bus")});
        m_prozess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_prozess.start();
        if (!m_prozess.waitForStarted(5000))
            return false;
        while (!m_prozess.canReadLine())
            if (!m_prozess.waitForReadyRead(5000))
                return false;
        const QByteArray geraet = m_prozess.readLine().trimmed();
        QFile ini(QStringLiteral("ZEP.INI"));
        return ini.open(QIODevice::WriteOnly) &&
               ini.write("[COM]\r\nCOM" + QByteArray::number(m_port) + "=" + geraet + "\r\n") > 0;
    }

    ~SimulatorProzess()
    {
        m_prozess.terminate();
        if (!m_prozess.waitForFinished(3000))
            m_prozess.kill();
    }

private:
    int m_port;
    QProcess m_prozess;
};

// User and system CPU seconds of this process so far.
inline double CpuSekunden()
{
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return static_cast<double>(r.ru_utime.tv_sec + r.ru_stime.tv_sec) +
           static_cast<double>(r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
}
