#include "TestfensterAufbau.h"

#include "AufbauHilfen.h"
#include "ui/FlexGridWidget.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QtMath>

namespace {

QWidget* TitelAufbauen(TestfensterElemente& e, QWidget* eltern)
{
    auto* titel = new QWidget(eltern);
    auto* zeile = new QHBoxLayout(titel);
    zeile->setContentsMargins(0, 0, 0, 0);
    e.Picture1 = new QLabel(titel);
    e.Picture1->setPixmap(QApplication::style()->standardIcon(QStyle::SP_DriveNetIcon).pixmap(48));
    e.Label13 = aufbau::Beschriftung(QStringLiteral("Telvarin"), titel);
    QFont gross = e.Label13->font();
    gross.setPointSizeF(gross.pointSizeF() * 2.2);
    gross.setBold(true);
    e.Label13->setFont(gross);
    zeile->addWidget(e.Picture1);
    zeile->addWidget(e.Label13, 1);
    return titel;
}

// The telegram dump: fixed pitch, so that its hex lines of 16 bytes stand in columns, and wide
// enough for such a line ("68 08 ... 16", three characters a byte less the closing blank, which
// may stand past the edge) beside the scroll bar that a long telegram brings. The decimal bytes
// after it wrap at the box's width.
void DumpFeldEinrichten(QPlainTextEdit& dump)
{
    constexpr int kBytesJeZeile = 16;
    QFont fest = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fest.setStyleHint(QFont::TypeWriter);
    fest.setFixedPitch(true);
    fest.setPointSizeF(qMax(7.0, dump.font().pointSizeF() - 1.5));
    dump.setFont(fest);
    dump.setLineWrapMode(QPlainTextEdit::WidgetWidth);
    const int zeile = QFontMetrics(fest).horizontalAdvance(QString(3 * kBytesJeZeile - 1, u'0'));
    const int rand = 2 * qCeil(dump.document()->documentMargin()) + 2 * dump.frameWidth() +
                     dump.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &dump) +
                     dump.style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, &dump) + 1;
    dump.setMinimumWidth(zeile + rand);
}

QGroupBox* PruefsummeAufbauen(TestfensterElemente& e, QWidget* eltern)
{
    static const char* const werte[] = {"10", "40", "0a", "4a", "16"};
    static const char* const namen[] = {"Start", "C", "A", "Prüfs.", "Stop"};
    e.Frame10 = aufbau::Rahmen(QString(), eltern);
    auto* raster = new QGridLayout(e.Frame10);
    for (int i = 0; i < 5; ++i) {
        const auto stelle = static_cast<size_t>(i);
        e.Label6[stelle] = aufbau::Beschriftung(QString::fromUtf8(namen[i]), e.Frame10);
        e.Text8[stelle] =
            aufbau::Feld(QString::fromLatin1(werte[i]), e.Frame10, QStringLiteral("ff"));
        raster->addWidget(e.Label6[stelle], 0, i);
        raster->addWidget(e.Text8[stelle], 1, i);
    }
    e.Label7 = aufbau::Beschriftung(QString(), e.Frame10);
    raster->addWidget(e.Label7, 2, 0, 1, 5);
    return e.Frame10;
}

QGroupBox* TestdateienAufbauen(TestfensterElemente& e, QWidget* eltern)
{
    e.Frame11 = aufbau::Rahmen(QStringLiteral("Verfügbare Test-Dateien"), eltern);
    auto* spalte = new QVBoxLayout(e.Frame11);
    e.File1 = new QListWidget(e.Frame11);
    e.MSFlexGrid3 = new FlexGridWidget(e.Frame11);
    auto* knoepfe = new QHBoxLayout;
    e.cmdImportAlleIndexe = aufbau::Knopf(QStringLiteral("Import &Alle Index"), e.Frame11);
    e.cmdImportListeAbbrechen = aufbau::Knopf(QStringLiteral("&Abbrechen"), e.Frame11);
    knoepfe->addWidget(e.cmdImportAlleIndexe);
    knoepfe->addWidget(e.cmdImportListeAbbrechen);
    spalte->addWidget(e.File1);
    spalte->addWidget(e.MSFlexGrid3, 1);
    spalte->addLayout(knoepfe);
    return e.Frame11;
}

} // namespace

QWidget* KopfbereichAufbauen(TestfensterElemente& e, QWidget* eltern)
{
    auto* bereich = new QWidget(eltern);
    auto* spalte = new QVBoxLayout(bereich);
    spalte->setContentsMargins(0, 0, 0, 0);
    spalte->addWidget(TitelAufbauen(e, bereich));

    e.Label12 = aufbau::Beschriftung(QStringLiteral("M-Bus Prüfplatz für Pegelwandler und Zähler"),
                                     bereich);
    e.Text13 = new QPlainTextEdit(bereich);
    e.Text13->setReadOnly(true);
    e.Text13->setPlainText(QStringLiteral("1. Com-Port und Baudraten wählen\n"
                                          "2. Primär- oder Sekundärsuche starten\n"
                                          "3. Einzelnen Zähler auslesen\n"
                                          "4. Neue Adressen eintragen, schreiben"));
    e.Text13->setLineWrapMode(QPlainTextEdit::NoWrap);
    e.Text13->setFixedHeight(e.Text13->fontMetrics().lineSpacing() * 5 + 12);
    spalte->addWidget(e.Label12);
    spalte->addWidget(e.Text13);

    spalte->addWidget(aufbau::Beschriftung(QStringLiteral("Antwort :"), bereich));
    e.Text11 = aufbau::Feld(QString(), bereich);
    spalte->addWidget(e.Text11);
    spalte->addWidget(aufbau::Beschriftung(QStringLiteral("Telegramm :"), bereich));
    e.Text12 = new QPlainTextEdit(bereich);
    DumpFeldEinrichten(*e.Text12);
    spalte->addWidget(e.Text12, 1);
    e.Command2 = aufbau::Knopf(QStringLiteral("Interpretieren"), bereich);
    spalte->addWidget(e.Command2);

    spalte->addWidget(PruefsummeAufbauen(e, bereich));
    spalte->addWidget(TestdateienAufbauen(e, bereich), 1);

    e.cmdend = aufbau::Knopf(QStringLiteral("&Schließen"), bereich);
    spalte->addWidget(e.cmdend);
    return bereich;
}
