#pragma once
// The About box: program name, version and build, product, legal notice and the Qt version, shown
// as a modal dialog over the main window. AboutSupport is the component that shows it.
#include <QDialog>
#include <memory>

#include "components/qt/userdialogs.h"
#include "support/components.h"
#include "support/versioninfo.h"

class AboutBox final : public QDialog {
    Q_OBJECT
public:
    AboutBox(QWidget* owner, const TVersionRecord& record);
};

class AboutSupport final : public ICDSupport {
public:
    // Raises AppError when no widget application is running.
    explicit AboutSupport(std::shared_ptr<UserDialogs> dialogs);

    // module: the program file whose record is shown; empty for the running program. n is not used.
    // Returns when the box is closed.
    ComponentStatus ShowAbout(QWidget* owner, const std::string& module, int n) override;

private:
    std::shared_ptr<UserDialogs> m_dialogs;
};
