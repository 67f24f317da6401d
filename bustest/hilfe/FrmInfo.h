#pragma once
// The about window: product name, version, a short description and the button that starts the
// system-information tool.

#include <QDialog>

class QLabel;
class QPushButton;

class frm_about : public QDialog
{
    Q_OBJECT

public:
    explicit frm_about(QWidget* eltern = nullptr);

    QLabel* lblTitle() const { return m_titel; }
    QLabel* lblVersion() const { return m_version; }
    QLabel* lblDescription() const { return m_beschreibung; }
    QLabel* lblDisclaimer() const { return m_warnung; }
    QLabel* Picture1() const { return m_bild; }
    QPushButton* cmdSysInfo() const { return m_sysInfo; }
    QPushButton* cmdOK() const { return m_ok; }

private:
    QLabel* m_titel = nullptr;
    QLabel* m_version = nullptr;
    QLabel* m_beschreibung = nullptr;
    QLabel* m_warnung = nullptr;
    QLabel* m_bild = nullptr;
    QPushButton* m_sysInfo = nullptr;
    QPushButton* m_ok = nullptr;
};
