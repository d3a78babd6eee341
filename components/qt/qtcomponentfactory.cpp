#include "components/qt/qtcomponentfactory.h"

#include <QCoreApplication>

#include "components/qt/aboutbox.h"
#include "components/qt/reportviewer.h"
#include "support/error.h"

namespace {
std::string ApplicationFile() {
    return QCoreApplication::instance() ? QCoreApplication::applicationFilePath().toStdString()
                                        : std::string();
}
} // namespace

QtComponentFactory::QtComponentFactory(std::shared_ptr<UserDialogs> dialogs, std::string programPath)
    : CoreComponentFactory(programPath.empty() ? ApplicationFile() : std::move(programPath)) {
    SetDialogs(std::move(dialogs));
}

void QtComponentFactory::SetDialogs(std::shared_ptr<UserDialogs> dialogs) {
    m_dialogs = dialogs ? std::move(dialogs) : std::make_shared<QtUserDialogs>();
}

std::unique_ptr<IReportViewer> QtComponentFactory::CreateReportViewer() {
    return std::make_unique<ReportViewer>(m_dialogs, m_reportFolders);
}

std::unique_ptr<IAssistant> QtComponentFactory::CreateAssistant() {
    if (!m_assistantCreator)
        throw AppError("The assistant runtime is not installed.");
    std::unique_ptr<IAssistant> assistant = m_assistantCreator();
    if (!assistant)
        throw AppError("The assistant runtime could not be created.");
    return assistant;
}

std::unique_ptr<ICDSupport> QtComponentFactory::CreateCDSupport() {
    return std::make_unique<AboutSupport>(m_dialogs);
}
