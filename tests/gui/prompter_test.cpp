// The prompt seam: the scripted prompter used by the window tests, and the Qt prompter's dialogs.
#include "editor/qtprompter.h"
#include "scriptedprompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <functional>

using Kind = Prompter::MessageKind;
using Answer = Prompter::Answer;

TEST(ScriptedPrompter, AnswersFromItsScriptInOrderAndRecordsEachPrompt) {
    ScriptedPrompter prompter;
    prompter.ExpectMessage(Kind::WarningYesNoCancel, Answer::No);
    prompter.ExpectSaveFile(std::string("/tmp/a.amf"));
    prompter.ExpectInput(std::nullopt);

    EXPECT_EQ(prompter.Message(Kind::WarningYesNoCancel, "Changed?"), Answer::No);
    EXPECT_EQ(prompter.SaveFileName(AssistantFileRequest("Save as")),
              std::optional<std::string>("/tmp/a.amf"));
    EXPECT_EQ(prompter.InputText("Enter your name...", "Please enter your name:", ""), std::nullopt);

    ASSERT_EQ(prompter.AskedPrompts().size(), 3u);
    EXPECT_EQ(prompter.AskedPrompts()[0].text, "Changed?");
    EXPECT_EQ(prompter.AskedPrompts()[1].title, "Save as");
    EXPECT_EQ(prompter.AskedPrompts()[2].title, "Enter your name...");
    EXPECT_EQ(prompter.AskedPrompts()[2].text, "Please enter your name:");
    EXPECT_EQ(prompter.Pending(), 0u);
}

TEST(ScriptedPrompter, FailsTheTestOnAPromptItDidNotExpect) {
    ScriptedPrompter empty;
    Answer answer = Answer::Yes;
    EXPECT_NONFATAL_FAILURE(answer = empty.Message(Kind::ConfirmYesNo, "Delete?"), "unexpected prompt");
    EXPECT_EQ(answer, Answer::No) << "an unexpected confirmation answers No";

    ScriptedPrompter wrongKind;
    wrongKind.ExpectMessage(Kind::ConfirmYesNo, Answer::Yes);
    EXPECT_NONFATAL_FAILURE(answer = wrongKind.Message(Kind::WarningYesNoCancel, "Save?"),
                            "unexpected prompt");
    EXPECT_EQ(answer, Answer::Cancel) << "an unexpected save prompt answers Cancel";
    EXPECT_NONFATAL_FAILURE(answer = wrongKind.Message(Kind::RecoverDiscardLater, "Recover?"),
                            "unexpected prompt");
    EXPECT_EQ(answer, Answer::Later) << "an unexpected recovery offer keeps the file";
    EXPECT_NONFATAL_FAILURE(wrongKind.OpenFileName(AssistantFileRequest("Open")), "unexpected prompt");
    EXPECT_EQ(wrongKind.Pending(), 1u) << "a mismatch consumes nothing";
    wrongKind.Message(Kind::ConfirmYesNo, "Delete?");
}

TEST(ScriptedPrompter, FailsTheTestWhenAnExpectedPromptWasNeverAsked) {
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedPrompter prompter;
            prompter.ExpectOpenFile(std::nullopt);
        },
        "never asked");
}

TEST(AssistantFileRequest, OffersAssistantFilesFirstThenAllFiles) {
    const Prompter::FileRequest request = AssistantFileRequest("Open");
    EXPECT_EQ(request.filters, (std::vector<std::string>{"Assistant files (*.amf)", "All files (*.*)"}));
    EXPECT_EQ(request.selectedFilter, 0);
    EXPECT_EQ(request.defaultExtension, "amf");
}

namespace {

// Runs `inspect` on the modal dialog as soon as it is shown (the prompter blocks in exec()).
void WhenModalShown(std::function<void(QWidget*)> inspect) {
    QTimer::singleShot(0, [inspect] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr) {
            ADD_FAILURE() << "no modal dialog shown";
            return;
        }
        inspect(dialog);
    });
}

} // namespace

TEST(QtPrompter, MessageBoxesShowTheApplicationTitleLineBreaksAndTheButtonsOfTheirKind) {
    const QString oldName = QApplication::applicationDisplayName();
    QApplication::setApplicationDisplayName(QStringLiteral("Assistant Editor and Tester"));
    struct Case {
        Kind kind;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton press; // NoButton: close the box instead
        Answer expected;
    };
    const Case cases[] = {
        {Kind::WarningYesNoCancel, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes,
         Answer::Yes},
        {Kind::WarningYesNoCancel, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::No,
         Answer::No},
        {Kind::WarningYesNoCancel, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
         QMessageBox::NoButton, Answer::Cancel},
        {Kind::ConfirmYesNo, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, Answer::Yes},
        {Kind::ConfirmYesNo, QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton, Answer::No},
        {Kind::WarningOk, QMessageBox::Ok, QMessageBox::Ok, Answer::Ok},
        {Kind::ErrorOk, QMessageBox::Ok, QMessageBox::NoButton, Answer::Ok},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        SCOPED_TRACE(static_cast<int>(c.press));
        QtPrompter prompter;
        WhenModalShown([&c](QWidget* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->windowTitle(), QStringLiteral("Assistant Editor and Tester"));
            EXPECT_EQ(box->text(), QStringLiteral("Line one.\n\nLine three.\nLine four."));
            EXPECT_EQ(box->standardButtons(), c.buttons);
            if (c.press == QMessageBox::NoButton)
                box->reject(); // Escape or the close box
            else
                box->button(c.press)->click();
        });
        EXPECT_EQ(prompter.Message(c.kind, "Line one.\r\rLine three.\r\nLine four."), c.expected);
    }
    QApplication::setApplicationDisplayName(oldName);
}

TEST(QtPrompter, RecoveryOfferIsAQuestionWithRecoverDiscardAndLater) {
    const QString oldName = QApplication::applicationDisplayName();
    QApplication::setApplicationDisplayName(QStringLiteral("Assistant Editor and Tester"));
    struct Case {
        const char* press; // nullptr: close the box instead
        Answer expected;
    };
    const Case cases[] = {
        {"&Recover", Answer::Recover},
        {"&Discard", Answer::Discard},
        {"&Later", Answer::Later},
        {nullptr, Answer::Later},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.press ? c.press : "closed");
        QtPrompter prompter;
        WhenModalShown([&c](QWidget* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->windowTitle(), QStringLiteral("Assistant Editor and Tester"));
            EXPECT_EQ(box->icon(), QMessageBox::Question);
            EXPECT_EQ(box->text(), QStringLiteral("Recover unsaved changes to a.amf from 2026-12-10 14:03?"));
            QStringList captions;
            QAbstractButton* chosen = nullptr;
            for (QAbstractButton* button : box->buttons()) {
                captions << button->text();
                if (c.press != nullptr && button->text() == QLatin1String(c.press))
                    chosen = button;
            }
            captions.sort();
            EXPECT_EQ(captions, (QStringList{"&Discard", "&Later", "&Recover"}));
            EXPECT_EQ(box->defaultButton()->text(), QStringLiteral("&Recover"));
            if (c.press == nullptr) {
                box->reject(); // Escape or the close box
                return;
            }
            ASSERT_NE(chosen, nullptr);
            chosen->click();
        });
        EXPECT_EQ(prompter.Message(Kind::RecoverDiscardLater,
                                   "Recover unsaved changes to a.amf from 2026-12-10 14:03?"),
                  c.expected);
    }
    QApplication::setApplicationDisplayName(oldName);
}

TEST(QtPrompter, FileDialogsShowTheRequestAndReturnNothingWhenCancelled) {
    QtPrompter prompter;
    Prompter::FileRequest request = AssistantFileRequest("Save assistant");
    request.initialFolder = "/tmp";
    request.proposedName = "first.amf";
    request.overwritePrompt = false;

    WhenModalShown([](QWidget* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        ASSERT_NE(files, nullptr);
        EXPECT_EQ(files->windowTitle(), QStringLiteral("Save assistant"));
        EXPECT_EQ(files->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(files->nameFilters(), (QStringList{"Assistant files (*.amf)", "All files (*.*)"}));
        EXPECT_EQ(files->selectedNameFilter(), QStringLiteral("Assistant files (*.amf)"));
        EXPECT_EQ(files->defaultSuffix(), QStringLiteral("amf"));
        EXPECT_TRUE(files->testOption(QFileDialog::DontConfirmOverwrite));
        files->reject();
    });
    EXPECT_EQ(prompter.SaveFileName(request), std::nullopt);

    WhenModalShown([](QWidget* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        ASSERT_NE(files, nullptr);
        EXPECT_EQ(files->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_FALSE(files->testOption(QFileDialog::DontConfirmOverwrite));
        files->selectFile(QStringLiteral("/tmp/amf-prompter-test-chosen"));
        QMetaObject::invokeMethod(files, "accept");
    });
    request.overwritePrompt = true;
    const std::optional<std::string> chosen = prompter.SaveFileName(request);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, "/tmp/amf-prompter-test-chosen.amf") << "the default extension is added";

    WhenModalShown([](QWidget* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        ASSERT_NE(files, nullptr);
        EXPECT_EQ(files->acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(files->fileMode(), QFileDialog::ExistingFile);
        files->reject();
    });
    EXPECT_EQ(prompter.OpenFileName(AssistantFileRequest("Open")), std::nullopt);
}

TEST(QtPrompter, InputBoxReturnsTheTextOrNothingWhenCancelled) {
    QtPrompter prompter;
    WhenModalShown([](QWidget* dialog) {
        auto* input = qobject_cast<QInputDialog*>(dialog);
        ASSERT_NE(input, nullptr);
        EXPECT_EQ(input->windowTitle(), QStringLiteral("Enter your name..."));
        EXPECT_EQ(input->labelText(), QStringLiteral("Please enter your name:"));
        EXPECT_EQ(input->textValue(), QStringLiteral("default"));
        input->setTextValue(QStringLiteral("Ann Lee"));
        input->accept();
    });
    EXPECT_EQ(prompter.InputText("Enter your name...", "Please enter your name:", "default"),
              std::optional<std::string>("Ann Lee"));

    WhenModalShown([](QWidget* dialog) { dialog->close(); });
    EXPECT_EQ(prompter.InputText("Enter your name...", "Please enter your name:", ""), std::nullopt);
}
