#include "UiSinks.h"

#include "FensterVeroeffentlicher.h"
#include "database/AllesSchliessen.h"

#include <QApplication>
#include <QCursor>
#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::StandardButtons Knoepfe(int stil)
{
    switch (stil & 7) {
    case vbOKCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case vbAbortRetryIgnore: return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case vbYesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case vbYesNo: return QMessageBox::Yes | QMessageBox::No;
    case vbRetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    default: return QMessageBox::Ok;
    }
}

QMessageBox::Icon Symbol(int stil)
{
    switch (stil & 0x70) {
    case vbCritical: return QMessageBox::Critical;
    case vbQuestion: return QMessageBox::Question;
    case vbExclamation: return QMessageBox::Warning;
    case vbInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

int Antwort(int knopf)
{
    switch (knopf) {
    case QMessageBox::Cancel: return vbCancel;
    case QMessageBox::Abort: return vbAbort;
    case QMessageBox::Retry: return vbRetry;
    case QMessageBox::Ignore: return vbIgnore;
    case QMessageBox::Yes: return vbYes;
    case QMessageBox::No: return vbNo;
    default: return vbOK;
    }
}

} // namespace

int BildschirmMeldungen::msgBox(const QString& text, int stil, const QString& titel)
{
    QMessageBox box(Symbol(stil),
                    titel.isEmpty() ? QApplication::applicationName() : titel, text,
                    Knoepfe(stil), QApplication::activeWindow());
    // 256 and 512 make the second or third button the default one.
    const int standard = (stil >> 8) & 3;
    const QList<QAbstractButton*> knoepfe = box.buttons();
    if (standard > 0 && standard < knoepfe.size()) {
        QList<QAbstractButton*> geordnet;
        for (QMessageBox::StandardButton knopf :
             {QMessageBox::Ok, QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore,
              QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
            if (QAbstractButton* b = box.button(knopf))
                geordnet << b;
        if (auto* knopf = qobject_cast<QPushButton*>(geordnet.value(standard)))
            box.setDefaultButton(knopf);
    }
    // A box's answer is needed before the caller goes on: the box is modal.
    return Antwort(box.exec());
}

void BildschirmMeldungen::beep()
{
    QApplication::beep();
}

void BildschirmMeldungen::mauszeiger(int zeiger)
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    if (zeiger == vbHourglass)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else if (zeiger == vbArrowHourglass)
        QApplication::setOverrideCursor(Qt::BusyCursor);
}

void BildschirmMeldungenEinrichten()
{
    static BildschirmMeldungen sink;
    MeldungSinkSetzen(&sink);
}

void OberflaecheEinrichten(const QString& programmName)
{
    QApplication::setApplicationName(programmName);
    BildschirmMeldungenEinrichten();
    FensterVeroeffentlicher::einrichten();
    AlleFormsEntladenSetzen([] {
        for (QWidget* fenster : QApplication::topLevelWidgets())
            fenster->close();
    });
}
