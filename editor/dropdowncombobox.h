#pragma once
// A drop-down box that announces when its list is about to drop down, so the list can be refilled with
// current entries (screen IDs, command examples) each time the user opens it.
#include <QComboBox>

class DropDownComboBox : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;

    void showPopup() override;

Q_SIGNALS:
    void aboutToDropDown();
};
