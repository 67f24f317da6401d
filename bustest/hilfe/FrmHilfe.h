#pragma once
// The help window: one of two help pictures with a short explanation, matching the view the
// test window shows (bus view or meter view).

#include <QString>
#include <QWidget>

#include <array>

class frm_help : public QWidget
{
    Q_OBJECT

public:
    // zaehlerLesenCaption: the caption of the test window's view-switch menu.
    explicit frm_help(const QString& zaehlerLesenCaption, QWidget* eltern = nullptr);

    // Shows the picture of the view that the caption belongs to, hides the other one.
    // "Zähler &Scan" (offered while the bus view shows): picture 0, the bus view;
    // any other caption: picture 1, the meter view.
    void BildWaehlen(const QString& zaehlerLesenCaption);

    // Picture i (0: bus view, 1: meter view) with its explanation.
    QWidget* Picture1(int i) const { return m_bilder.at(i); }

private:
    std::array<QWidget*, 2> m_bilder{};
};
