#include "FrmInfo.h"

#include "SysInfo.h"
#include "ui/Bildschirmplatz.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

frm_about::frm_about(QWidget* eltern)
    : QDialog(eltern)
    , m_titel(new QLabel(this))
    , m_version(new QLabel(this))
    , m_beschreibung(new QLabel(this))
    , m_warnung(new QLabel(this))
    , m_bild(new QLabel(this))
    , m_sysInfo(new QPushButton(QStringLiteral("&Systeminfo..."), this))
    , m_ok(new QPushButton(QStringLiteral("OK"), this))
{
    setWindowTitle(QStringLiteral("Info zu Telvarin"));
    m_titel->setText(QStringLiteral("Telvarin"));
    m_version->setText(QStringLiteral("Version v0.9"));
    m_beschreibung->setText(QStringLiteral("M-Bus-Test und Inbetriebnahme\r\n"
                                           "für verdrahtete M-Bus-Zähleranlagen\r\n"
                                           "Zähler suchen, auslesen und adressieren"));
    m_warnung->setText(QStringLiteral(
        "Warnung: Dieses Programm schreibt auf Wunsch Primäradressen und Baudraten in die "
        "Zähler. Prüfen Sie vor dem Schreiben Adresse und Anschluss; eine falsch gesetzte "
        "Adresse kann einen Zähler für die Auslesung unerreichbar machen."));
    m_warnung->setWordWrap(true);
    m_bild->setPixmap(QPixmap(QStringLiteral(":/hilfe/emblem.png")));
    m_bild->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    QFont schrift = m_titel->font();
    schrift.setPointSizeF(schrift.pointSizeF() * 1.5);
    schrift.setBold(true);
    m_titel->setFont(schrift);

    auto* linie = new QFrame(this);
    linie->setFrameShape(QFrame::HLine);
    linie->setFrameShadow(QFrame::Sunken);

    auto* knoepfe = new QVBoxLayout;
    knoepfe->addWidget(m_ok);
    knoepfe->addWidget(m_sysInfo);
    knoepfe->addStretch();

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_bild, 0, 0, 3, 1);
    layout->addWidget(m_titel, 0, 1);
    layout->addWidget(m_version, 1, 1);
    layout->addWidget(m_beschreibung, 2, 1);
    layout->addWidget(linie, 3, 0, 1, 3);
    layout->addWidget(m_warnung, 4, 0, 1, 2);
    layout->addLayout(knoepfe, 0, 2, 5, 1);
    layout->setColumnStretch(1, 1);

    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_sysInfo, &QPushButton::clicked, this, [] { StartSysInfo(); });
    setMinimumWidth(480);
    BeimZeigenEinpassen(*this);
}
