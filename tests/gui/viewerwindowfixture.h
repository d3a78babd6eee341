#pragma once
// An editor window whose Test and "Test from here" open the real viewer, over a small assistant of three
// screens: the viewers' desktop only records what it is asked to open and no program is ever run.
#include "components/qt/qtcomponentfactory.h"
#include "editor/viewerbinding.h"
#include "editorfixture.h"
#include "viewer/assistantviewer.h"
#include "viewer/viewersetup.h"
#include "viewertesthelpers.h"

#include <QTemporaryDir>

#include <memory>
#include <vector>

class ViewerWindowFixture : public EditorFixture {
protected:
    std::shared_ptr<RecordingDesktop> desktop = std::make_shared<RecordingDesktop>();
    QTemporaryDir files; // the finder's {$TEMP}

    // Shows the window with S1 -> S2 (to2), S2 -> S1 (back) and a note (more), and S3.
    void StartWithViewer() {
        TEditorServices services = Services();
        services.ComponentsForWindow = [this](MainWindow& window) -> std::shared_ptr<IComponentFactory> {
            ViewerSetup setup;
            setup.Desktop = desktop;
            setup.Finder = FixedFinder(files.path().toStdString());
            setup.NeverRunPrograms = true;
            return WindowComponents(window, setup);
        };
        form = std::make_unique<MainWindow>(std::move(services), &prompter);
        ASSERT_TRUE(ShowActive(form.get()));
        Fill({ScreenEntry("S1", {OptionEntry("to2", akGoto, "S2")}),
              ScreenEntry("S2", {OptionEntry("back", akGoto, "S1"), OptionEntry("more", akNote)}),
              ScreenEntry("S3")},
             "S1");
    }
    // The viewer windows open over the editor window.
    std::vector<AssistantViewer*> Viewers() const {
        const QList<AssistantViewer*> found = form->findChildren<AssistantViewer*>();
        return {found.begin(), found.end()};
    }
    void TearDown() override {
        if (form)
            for (AssistantViewer* viewer : Viewers())
                viewer->close();
        EditorFixture::TearDown();
    }
};
