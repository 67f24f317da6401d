#include "TestfensterAufbau.h"

#include "AufbauHilfen.h"

#include <QComboBox>
#include <QGridLayout>
#include <QRegularExpressionValidator>

QGroupBox* TimingRahmenAufbauen(TestfensterElemente& e, int erster, QComboBox*& providerBox,
                                QWidget* eltern)
{
    static const char* const beschriftungen[] = {"bittime :", "offset :", "bit :", "dead :"};
    static const char* const werte[] = {"330", "50", "4", "11"};

    auto* rahmen = aufbau::Rahmen(QString(), eltern);
    auto* raster = new QGridLayout(rahmen);
    // Timing values are whole numbers: anything but digits is refused while typing.
    auto* nurZiffern =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d*")), rahmen);
    for (int i = 0; i < 4; ++i) {
        const QString wert = QString::fromLatin1(werte[i]);
        auto* feld = aufbau::Feld(wert, rahmen, 70, QStringLiteral("Default : ") + wert);
        feld->setValidator(nurZiffern);
        e.Text7[static_cast<size_t>(erster + i)] = feld;
        // Two values a row, so the frame stays low.
        const int zeile = i / 2;
        const int spalte = (i % 2) * 2;
        raster->addWidget(aufbau::Beschriftung(QString::fromLatin1(beschriftungen[i]), rahmen),
                          zeile, spalte);
        raster->addWidget(feld, zeile, spalte + 1);
    }
    providerBox = new QComboBox(rahmen);
    raster->addWidget(providerBox, 2, 0, 1, 4);
    return rahmen;
}
