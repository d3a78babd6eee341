#include "components/qt/reportviewer.h"

#include <QApplication>

#include "components/qt/reportwindow.h"
#include "support/error.h"

void RequireWidgetApplication(const QCoreApplication* app, const std::string& component) {
    if (!qobject_cast<const QApplication*>(app))
        throw AppError("The " + component + " cannot be shown: no graphical display is available.");
}

ReportViewer::ReportViewer(std::shared_ptr<UserDialogs> dialogs, ReportFolders folders)
    : m_dialogs(std::move(dialogs)), m_folders(std::move(folders)) {
    RequireWidgetApplication(QCoreApplication::instance(), "report viewer");
    if (!m_dialogs)
        m_dialogs = std::make_shared<QtUserDialogs>();
}

ComponentStatus ReportViewer::ShowReport(QWidget* owner, const std::string& title,
                                         const std::string& prepared, int /*n*/) {
    try {
        auto* window = new ReportWindow(owner, QString::fromStdString(title), prepared, m_dialogs, m_folders);
        window->show();
        window->raise();
        window->activateWindow();
        return ComponentStatus::Success();
    } catch (const std::exception& e) {
        return ComponentStatus::Failure(std::string("The report could not be shown: ") + e.what());
    }
}
