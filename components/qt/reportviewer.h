#pragma once
// The report viewer component: shows a prepared report in a ReportWindow owned by the owner window.
#include <memory>

#include "components/qt/reportwindow.h"
#include "components/qt/userdialogs.h"
#include "support/components.h"

class QCoreApplication;

// Raises AppError naming the component unless `app` is a running widget application (a display is
// needed for every window of the components).
void RequireWidgetApplication(const QCoreApplication* app, const std::string& component);

class ReportViewer final : public IReportViewer {
public:
    // Raises AppError when no widget application is running.
    // folders: where the window's file dialogs start (unset: the documents folder).
    explicit ReportViewer(std::shared_ptr<UserDialogs> dialogs, ReportFolders folders = {});

    // Opens the window and returns at once; n is not used (the editor passes 0). The window stays
    // after this object is released and closes with its owner.
    ComponentStatus ShowReport(QWidget* owner, const std::string& title, const std::string& prepared,
                               int n) override;

private:
    std::shared_ptr<UserDialogs> m_dialogs;
    ReportFolders m_folders;
};
