// The credentials file is read the way the program always read it: line by line up to CR or
// CR LF, stopping at the end-of-file mark, and each line unscrambled on its own.

#include "zugang/UserConfig.h"

#include "log/Log.h"
#include "platform/Cp1252.h"
#include "platform/Global.h"
#include "platform/Pfad.h"
#include "zugang/CryptString.h"
#include "zugang/Laufzeitfehler.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

namespace {

QString gProgrammordner;

const QString kQuelleLesen = QStringLiteral("ReadUserConfig");
const QString kQuelleSchreiben = QStringLiteral("WriteDefaultUserConfig");

constexpr char kDateiende = 26;
constexpr QFileDevice::Permissions kNurEigentuemer =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// Whether this process may create files in the folder (its effective ids, as an open checks).
bool OrdnerBeschreibbar(const QString& ordner)
{
    return ::faccessat(AT_FDCWD, QFile::encodeName(ordner).constData(), W_OK | X_OK, AT_EACCESS) ==
           0;
}

// The error of a failed file step, with the run-time error numbers the program always used. Only
// the path and the kind of failure go into the text, never what the file holds.
Laufzeitfehler Dateifehler(const QString& pfad, QFileDevice::FileError art, const QString& quelle)
{
    const QFileInfo info(pfad);
    Laufzeitfehler fehler;
    fehler.quelle = quelle;
    if (art == QFileDevice::ReadError || art == QFileDevice::WriteError) {
        fehler.nummer = 57;
        fehler.beschreibung = QStringLiteral("Geräte-E/A-Fehler");
    } else if (!QFileInfo(info.absolutePath()).isDir()) {
        fehler.nummer = 76;
        fehler.beschreibung = QStringLiteral("Pfad nicht gefunden");
    } else if (info.isDir()) {
        fehler.nummer = 75;
        fehler.beschreibung = QStringLiteral("Fehler beim Zugriff auf Pfad/Datei");
    } else if (!info.exists() && !OrdnerBeschreibbar(info.absolutePath())) {
        // The file cannot be made: this user may not write into the folder.
        fehler.nummer = 70;
        fehler.beschreibung =
            QStringLiteral("Zugriff verweigert (keine Schreibberechtigung im Ordner)");
    } else if (!info.exists()) {
        fehler.nummer = 53;
        fehler.beschreibung = QStringLiteral("Datei nicht gefunden");
    } else {
        fehler.nummer = 70;
        fehler.beschreibung = QStringLiteral("Zugriff verweigert");
    }
    fehler.beschreibung += QStringLiteral(": ") + QDir::toNativeSeparators(pfad);
    return fehler;
}

Laufzeitfehler KeineDateinummer(const QString& quelle)
{
    return {67, QStringLiteral("Zu viele Dateien"), quelle, {}};
}

void Melden(const Laufzeitfehler& fehler)
{
    FehlerText = fehler.beschreibung;
    ShowErrorMessage(fehler);
}

// Lines as the program's line reader returns them: a line ends at CR, a LF right after it is
// skipped, everything from the first end-of-file mark on is ignored.
QList<QByteArray> Zeilen(QByteArray bytes)
{
    const qsizetype dateiende = bytes.indexOf(kDateiende);
    if (dateiende >= 0)
        bytes.truncate(dateiende);
    QList<QByteArray> zeilen;
    qsizetype anfang = 0;
    while (anfang < bytes.size()) {
        const qsizetype cr = bytes.indexOf('\r', anfang);
        if (cr < 0) {
            zeilen << bytes.mid(anfang);
            break;
        }
        zeilen << bytes.mid(anfang, cr - anfang);
        anfang = cr + 1;
        if (anfang < bytes.size() && bytes[anfang] == '\n')
            ++anfang;
    }
    return zeilen;
}

QStringList Vorgabeliste()
{
    QStringList liste = UserConfigVorgaben();
    liste << QString();
    return liste;
}

} // namespace

QString Programmordner()
{
    if (!gProgrammordner.isEmpty())
        return gProgrammordner;
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
}

void ProgrammordnerSetzen(const QString& ordner)
{
    gProgrammordner = ordner;
}

QString UserConfigPfad()
{
    return PfadAufloesen(QDir(Programmordner()).filePath(kUserConfigDatei));
}

QStringList UserConfigVorgaben()
{
    return {QStringLiteral("0"),
            QStringLiteral("0.0.0.0"),
            QStringLiteral("dbUserName"),
            QStringLiteral("dbGeheim"),
            QStringLiteral("dbCatalog(sqlserver)"),
            QStringLiteral("SuperUser")};
}

bool ReadUserConfig()
{
    FehlerText.clear();
    const QString pfad = UserConfigPfad();

    if (!MB_FileExists(pfad)) {
        // One attempt to write the defaults. When it fails (a read-only program folder is
        // normal for an installed program) the defaults are used as if the file held them.
        if (!WriteDefaultUserConfig() || !MB_FileExists(pfad)) {
            const QString grund = FehlerText;
            DBParameter = Vorgabeliste();
            FehlerText = grund.isEmpty() ? QStringLiteral("Datei nicht gefunden: ") +
                                               QDir::toNativeSeparators(pfad)
                                         : grund;
            return false;
        }
    }

    QByteArray bytes;
    {
        const Dateinummer nummer;
        if (!nummer.gueltig()) {
            Melden(KeineDateinummer(kQuelleLesen));
            return false;
        }
        QFile datei(pfad);
        if (!datei.open(QIODevice::ReadOnly)) {
            Melden(Dateifehler(pfad, QFileDevice::OpenError, kQuelleLesen));
            return false;
        }
        bytes = datei.readAll();
        if (datei.error() != QFileDevice::NoError) {
            Melden(Dateifehler(pfad, QFileDevice::ReadError, kQuelleLesen));
            return false;
        }
    }

    QStringList liste;
    for (const QByteArray& zeile : Zeilen(bytes))
        liste << Cp1252ZuText(CryptString(zeile, kUserConfigSchluessel));
    liste << QString();
    DBParameter = liste;
    return true;
}

bool WriteDefaultUserConfig()
{
    FehlerText.clear();
    QByteArray inhalt;
    for (const QString& wert : UserConfigVorgaben()) {
        inhalt += CryptString(TextZuCp1252(wert), kUserConfigSchluessel);
        inhalt += "\r\n";
    }
    // The list's seventh, empty element is written without a line end: it adds no byte.

    const Dateinummer nummer;
    if (!nummer.gueltig()) {
        Melden(KeineDateinummer(kQuelleSchreiben));
        return false;
    }
    const QString pfad = UserConfigPfad();
    QFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly | QIODevice::Truncate, kNurEigentuemer)) {
        Melden(Dateifehler(pfad, QFileDevice::OpenError, kQuelleSchreiben));
        return false;
    }
    // A file that was there already keeps its mode on opening: narrow it before anything is
    // written into it.
    if (!datei.setPermissions(kNurEigentuemer)) {
        datei.close();
        Melden(Dateifehler(pfad, QFileDevice::PermissionsError, kQuelleSchreiben));
        return false;
    }
    const bool geschrieben = datei.write(inhalt) == inhalt.size() && datei.flush();
    datei.close();
    if (!geschrieben || datei.error() != QFileDevice::NoError) {
        datei.remove();
        Melden(Dateifehler(pfad, QFileDevice::WriteError, kQuelleSchreiben));
        return false;
    }
    return true;
}
