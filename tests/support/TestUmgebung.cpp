#include "TestUmgebung.h"

#include "platform/Global.h"
#include "platform/Sperrdatei.h"
#include "serial/Portsperre.h"
#include "platform/Warten.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

void PortsperrenEntfernen(qint64 pid)
{
    if (pid <= 0)
        return;
    const QString ordner = QFileInfo(PortSperrdatei(QStringLiteral("/dev/pts/0"))).absolutePath();
    const QDir dir(ordner);
    for (const QString& name : dir.entryList({QStringLiteral("LCK..*")}, QDir::Files)) {
        const Sperrhalter halter = SperrhalterLesen(dir.filePath(name));
        if (halter.prozess == pid && halter.beendet)
            QFile::remove(dir.filePath(name));
    }
}
