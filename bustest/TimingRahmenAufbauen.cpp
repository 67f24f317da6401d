#include "TestfensterAufbau.h"

#include "AufbauHilfen.h"

#include <QComboBox>
#include <QGridLayout>
#include <QRegularExpressionValidator>

QGroupBox* TimingRahmenAufbauen(TestfensterElemente& e, int erster, QComboBox*& providerBox,
                                QWidget* eltern, int proZeile)
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
        auto* feld =
            aufbau::Feld(wert, rahmen, QStringLiteral("9999"), QStringLiteral("Default : ") + wert);
        feld->setValidator(nurZiffern);
        e.Text7[static_cast<size_t>(erster + i)] = feld;
        const int zeile = i / proZeile;
        const int spalte = (i % proZeile) * 2;
        raster->addWidget(aufbau::Beschriftung(QString::fromLatin1(beschriftungen[i]), rahmen),
                          zeile, spalte);
        raster->addWidget(feld, zeile, spalte + 1);
    }
    providerBox = new QComboBox(rahmen);
    raster->addWidget(providerBox, (4 + proZeile - 1) / proZeile, 0, 1, 2 * proZeile);
    return rahmen;
}
