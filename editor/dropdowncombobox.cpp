#include "editor/dropdowncombobox.h"

#include <QLineEdit>

void DropDownComboBox::showPopup() {
    // Refilling the list must not change what the user typed into an editable box.
    const QString text = currentText();
    Q_EMIT aboutToDropDown();
    if (isEditable() && currentText() != text)
        setEditText(text);
    QComboBox::showPopup();
}
