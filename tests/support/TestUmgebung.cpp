#include "TestUmgebung.h"

#include "platform/Global.h"
#include "platform/Sperrdatei.h"
#include "platform/Warten.h"
#include "serial/Portsperre.h"

#include <QDir>
#include <QFile>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>

#include <cstdio>

#include <signal.h>

void TestUmgebung::SetUp()
{
    ASSERT_TRUE(m_ordner.isValid());
    m_vorherigerOrdner = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_ordner.path()));
    GlobalZuruecksetzen();
    ProgrammEndeZuruecksetzen();
    UhrSetzen(&m_uhr);
    MeldungSinkSetzen(&m_meldungen);
}

void TestUmgebung::TearDown()
{
    MeldungSinkSetzen(nullptr);
    UhrSetzen(nullptr);
    GlobalZuruecksetzen();
    QDir::setCurrent(m_vorherigerOrdner);
}

QString TestUmgebung::pfad(const QString& name) const
{
    return m_ordner.filePath(name);
}

void TestUmgebung::schreiben(const QString& name, const QByteArray& bytes) const
{
    const QString ziel = pfad(name);
    QDir().mkpath(QFileInfo(ziel).absolutePath());
    QFile datei(ziel);
    ASSERT_TRUE(datei.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(datei.write(bytes), bytes.size());
}

QByteArray TestUmgebung::lesen(const QString& name) const
{
    QFile datei(pfad(name));
    if (!datei.open(QIODevice::ReadOnly))
        return {};
    return datei.readAll();
}

QString Testdaten(const QString& relativ)
{
    return QStringLiteral(TELVARIN_TESTDATA "/") + relativ;
}

bool BisWahr(const std::function<bool()>& bedingung, int ms)
{
    const QDeadlineTimer frist(ms);
    while (!bedingung()) {
        if (frist.hasExpired())
            return false;
        QThread::msleep(20);
    }
    return true;
}

void SperrdateienEntfernen(qint64 pid)
{
    if (pid <= 0)
        return;
    const QString ordner = QFileInfo(PortSperrdatei(QStringLiteral("/dev/pts/0"))).absolutePath();
    const QDir dir(ordner);
    for (const QString& name : dir.entryList({QStringLiteral("LCK..*")}, QDir::Files)) {
        const Sperrhalter halter = SperrhalterLesen(dir.filePath(name));
        // Judged once more under the file's lock: another test's program may have taken the
        // terminal number over meanwhile.
        if (halter.prozess == pid && halter.beendet)
            VerwaisteSperrdateiEntfernen(dir.filePath(name));
    }
    if (::kill(static_cast<pid_t>(pid), 0) == 0)
        return; // still running: its settings locks are its own
    const QDir temp(QDir::tempPath());
    for (const QString& name : temp.entryList({QStringLiteral("telvarin-ini-*.lock")}, QDir::Files)) {
        const QString datei = temp.filePath(name);
        const Sperrhalter halter = SperrhalterLesen(datei);
        if (halter.prozess == pid) {
            VerwaisteSperrdateiEntfernen(datei);
        } else if (halter.prozess == 0 && halter.datei) {
            // Killed between creating the file and writing its number: an empty file of a live
            // writer has its number within moments, one left behind stays empty.
            const qint64 alter = QFileInfo(datei).lastModified().msecsTo(QDateTime::currentDateTime());
            if (alter < kLeereSperrdateiMs)
                QThread::msleep(static_cast<unsigned long>(kLeereSperrdateiMs - alter + 50));
            VerwaisteSperrdateiEntfernen(datei);
        }
    }
}

OdbcOhneProtokolle::OdbcOhneProtokolle()
{
    if (qEnvironmentVariableIsEmpty("TELVARIN_TEST_ODBC"))
        return;
    m_gueltig = false;
    const QString systemOrdner = qEnvironmentVariableIsEmpty("ODBCSYSINI")
                                     ? QStringLiteral("/etc")
                                     : qEnvironmentVariable("ODBCSYSINI");
    const QString systemName = qEnvironmentVariableIsEmpty("ODBCINSTINI")
                                   ? QStringLiteral("odbcinst.ini")
                                   : qEnvironmentVariable("ODBCINSTINI");
    QFile quelle(QDir(systemOrdner).filePath(systemName));
    QByteArray text;
    if (quelle.open(QIODevice::ReadOnly)) {
        text = quelle.readAll();
    } else if (quelle.exists()) {
        std::fprintf(stderr, "ODBC: %s nicht lesbar\n", qPrintable(quelle.fileName()));
        return;
    }
    QByteArray kopie;
    for (const QByteArray& zeile : text.split('\n')) {
        const qsizetype gleich = zeile.indexOf('=');
        const QByteArray schluessel = gleich < 0 ? QByteArray() : zeile.left(gleich).trimmed();
        if (schluessel.compare("CommLog", Qt::CaseInsensitive) == 0 ||
            schluessel.compare("Debug", Qt::CaseInsensitive) == 0)
            kopie += schluessel + "=0\n";
        else if (schluessel.compare("Trace", Qt::CaseInsensitive) == 0)
            kopie += schluessel + "=No\n";
        else
            kopie += zeile + '\n';
    }
    m_ordner = std::make_unique<QTemporaryDir>(
        QDir::temp().filePath(QStringLiteral("telvarin-odbc-XXXXXX")));
    QFile ziel(m_ordner->filePath(QStringLiteral("odbcinst.ini")));
    if (!m_ordner->isValid() || !ziel.open(QIODevice::WriteOnly) ||
        ziel.write(kopie) != kopie.size() || !ziel.flush()) {
        std::fprintf(stderr, "ODBC: %s nicht schreibbar\n", qPrintable(ziel.fileName()));
        return;
    }
    qputenv("ODBCSYSINI", QFile::encodeName(m_ordner->path()));
    qunsetenv("ODBCINSTINI");
    m_gueltig = true;
}
