#pragma once
// Component factory of the graphical editor: the windowless components of the core factory plus the
// report viewer and the About box. The assistant runtime is plugged in by whoever provides it.
#include <functional>
#include <memory>

#include "components/corecomponentfactory.h"
#include "components/qt/reportwindow.h"
#include "components/qt/userdialogs.h"

class QtComponentFactory final : public CoreComponentFactory {
public:
    using AssistantCreator = std::function<std::unique_ptr<IAssistant>()>;

    // dialogs: the questions and messages of the component windows (empty: the desktop's dialogs).
    // programPath: the running program's file (empty: the application's own file).
    explicit QtComponentFactory(std::shared_ptr<UserDialogs> dialogs = nullptr, std::string programPath = {});

    void SetDialogs(std::shared_ptr<UserDialogs> dialogs);
    // Where the file dialogs of the report windows made from now on start, and what they remember.
    void SetReportFolders(ReportFolders folders) { m_reportFolders = std::move(folders); }
    // Makes CreateAssistant give the runtime that the creator makes.
    void SetAssistantCreator(AssistantCreator creator) { m_assistantCreator = std::move(creator); }

    std::unique_ptr<IReportViewer> CreateReportViewer() override;
    std::unique_ptr<IAssistant> CreateAssistant() override;
    std::unique_ptr<ICDSupport> CreateCDSupport() override;

private:
    std::shared_ptr<UserDialogs> m_dialogs;
    AssistantCreator m_assistantCreator;
    ReportFolders m_reportFolders;
};
