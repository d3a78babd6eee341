#include "viewer/assistantviewer.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "model/assistroot.h"
#include "support/error.h"
#include "support/textroutines.h"
#include "viewer/optioncommands.h"
#include "viewer/viewerdesktop.h"

namespace {
QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// Every text that comes from an assistant goes into a label of this kind: plain text, never markup.
QLabel* PlainLabel(QWidget* parent, const QString& objectName) {
    auto* label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QString Lines(const std::vector<std::string>& lines) {
    QStringList parts;
    for (const std::string& line : lines)
        parts << Q(line);
    return parts.join(QLatin1Char('\n'));
}

// Window titles treat "[*]" as the placeholder of the modified mark; a doubled one shows as "[*]".
QString TitleText(const std::string& caption) {
    QString title = Q(caption);
    title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    return title;
}

// Text of an option's button: what choosing the option does.
QString ButtonText(TActionKind kind) {
    switch (kind) {
    case akGoto:
    case akGotoButton:
        return QStringLiteral("Go");
    case akAssistant:
        return QStringLiteral("Open");
    case akInternet:
        return QStringLiteral("Visit");
    case akExec:
        return QStringLiteral("Run...");
    case akNote:
        return QStringLiteral("Notes");
    case akRun:
    case akBrowse:
    case akScript:
        return QStringLiteral("Show");
    }
    return QStringLiteral("Show");
}

QString Quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// The screen of `newRoot` that stands for `screen` of `oldRoot`: the one at the same position when its ID
// is still the same, else the first with that ID; null when there is none.
const TAssistScreen* SameScreenIn(const TAssistRoot& oldRoot, const TAssistScreen* screen,
                                  const TAssistRoot& newRoot) {
    if (screen == nullptr)
        return nullptr;
    const TAssistScreen* atPosition = newRoot.Screens.Item(oldRoot.Screens.IndexOf(screen));
    if (atPosition != nullptr && SameText(atPosition->ID, screen->ID))
        return atPosition;
    return newRoot.Screens.FindScreen(screen->ID);
}

// The keys of a button as its tooltip lists them: "Back (Alt+Left, Backspace)".
QString WithKeys(const QString& tip, const QList<QKeySequence>& keys) {
    QStringList names;
    for (const QKeySequence& key : keys)
        names << key.toString(QKeySequence::NativeText);
    return tip + QStringLiteral(" (") + names.join(QStringLiteral(", ")) + QLatin1Char(')');
}

// A box the user types into, where Backspace deletes a character rather than going back.
bool IsTextBox(const QWidget* widget) {
    if (widget == nullptr)
        return false;
    if (const auto* combo = qobject_cast<const QComboBox*>(widget))
        return combo->isEditable();
    return qobject_cast<const QLineEdit*>(widget) != nullptr ||
           qobject_cast<const QPlainTextEdit*>(widget) != nullptr ||
           qobject_cast<const QTextEdit*>(widget) != nullptr ||
           qobject_cast<const QAbstractSpinBox*>(widget) != nullptr;
}
} // namespace

const QList<QKeySequence>& AssistantViewer::BackKeys() {
    static const QList<QKeySequence> keys = {QKeySequence(Qt::ALT | Qt::Key_Left),
                                             QKeySequence(Qt::Key_Backspace)};
    return keys;
}

const QList<QKeySequence>& AssistantViewer::ForwardKeys() {
    static const QList<QKeySequence> keys = {QKeySequence(Qt::ALT | Qt::Key_Right)};
    return keys;
}

const QList<QKeySequence>& AssistantViewer::HomeKeys() {
    static const QList<QKeySequence> keys = {QKeySequence(Qt::ALT | Qt::Key_Home)};
    return keys;
}

AssistantViewer::AssistantViewer(QWidget* owner, ViewerSetup setup,
                                 std::shared_ptr<ViewedAssistant> assistant, const std::string& initialScreen)
    : QWidget(owner, Qt::Window), m_setup(CompleteSetup(std::move(setup))) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("AssistantViewer"));
    BuildWindow();
    if (!assistant || !assistant->Root)
        assistant = std::make_shared<ViewedAssistant>(std::make_unique<TAssistRoot>(std::string()), QString(),
                                                      QString(), false);
    QString notice;
    const TAssistScreen* start = StartScreen(*assistant, initialScreen, notice);
    Visit({std::move(assistant), start}, notice);
}

AssistantViewer::~AssistantViewer() = default;

void AssistantViewer::AddShortcut(const QKeySequence& key, const std::function<void()>& action) {
    auto* shortcut = new QShortcut(key, this);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, action);
}

void AssistantViewer::BuildWindow() {
    resize(760, 520);
    auto* outer = new QVBoxLayout(this);

    auto* bar = new QHBoxLayout;
    m_bBack = new QPushButton(QStringLiteral("< Back"), this);
    m_bBack->setObjectName(QStringLiteral("bBack"));
    m_bForward = new QPushButton(QStringLiteral("Forward >"), this);
    m_bForward->setObjectName(QStringLiteral("bForward"));
    m_bHome = new QPushButton(QStringLiteral("Home"), this);
    m_bHome->setObjectName(QStringLiteral("bHome"));
    m_bEditScreen = new QPushButton(QStringLiteral("Edit this screen"), this);
    m_bEditScreen->setObjectName(QStringLiteral("bEditScreen"));
    m_bEditScreen->setVisible(static_cast<bool>(m_setup.OnEdit));
    bar->addWidget(m_bBack);
    bar->addWidget(m_bForward);
    bar->addWidget(m_bHome);
    bar->addStretch(1);
    bar->addWidget(m_bEditScreen);
    outer->addLayout(bar);
    connect(m_bBack, &QPushButton::clicked, this, &AssistantViewer::GoBack);
    connect(m_bForward, &QPushButton::clicked, this, &AssistantViewer::GoForward);
    connect(m_bHome, &QPushButton::clicked, this, &AssistantViewer::GoHome);
    connect(m_bEditScreen, &QPushButton::clicked, this, [this] { EditItem(-1); });
    m_bBack->setToolTip(WithKeys(QStringLiteral("Back to the screen shown before"), BackKeys()));
    m_bForward->setToolTip(WithKeys(QStringLiteral("Forward to the screen shown after"), ForwardKeys()));
    m_bHome->setToolTip(WithKeys(QStringLiteral("The assistant's first screen"), HomeKeys()));
    for (const QKeySequence& key : BackKeys())
        AddShortcut(key, [this, key] {
            // Backspace belongs to a text box that has the focus; Alt+Left goes back from anywhere.
            if (key == QKeySequence(Qt::Key_Backspace) && IsTextBox(QApplication::focusWidget()))
                return;
            GoBack();
        });
    for (const QKeySequence& key : ForwardKeys())
        AddShortcut(key, [this] { GoForward(); });
    for (const QKeySequence& key : HomeKeys())
        AddShortcut(key, [this] { GoHome(); });

    auto* body = new QHBoxLayout;
    outer->addLayout(body, 1);

    auto* left = new QFrame(this);
    left->setObjectName(QStringLiteral("LeftPane"));
    left->setFrameShape(QFrame::StyledPanel);
    left->setFixedWidth(200);
    left->setAutoFillBackground(true);
    QPalette leftPalette = left->palette();
    leftPalette.setColor(QPalette::Window, QColor(0x2f, 0x4f, 0x6f));
    leftPalette.setColor(QPalette::WindowText, Qt::white);
    left->setPalette(leftPalette);
    auto* leftLayout = new QVBoxLayout(left);
    m_lScreenCaption = PlainLabel(left, QStringLiteral("lScreenCaption"));
    QFont captionFont = m_lScreenCaption->font();
    captionFont.setBold(true);
    captionFont.setPointSizeF(captionFont.pointSizeF() * 1.3);
    m_lScreenCaption->setFont(captionFont);
    m_lAssistantDescription = PlainLabel(left, QStringLiteral("lAssistantDescription"));
    m_lAssistantCaption = PlainLabel(left, QStringLiteral("lAssistantCaption"));
    leftLayout->addWidget(m_lScreenCaption);
    leftLayout->addSpacing(12);
    leftLayout->addWidget(m_lAssistantDescription);
    leftLayout->addStretch(1);
    leftLayout->addWidget(m_lAssistantCaption);
    body->addWidget(left);

    m_scroll = new QScrollArea(this);
    m_scroll->setWidgetResizable(true);
    auto* page = new QWidget(m_scroll);
    m_mainLayout = new QVBoxLayout(page);
    m_lNotice = PlainLabel(page, QStringLiteral("lNotice"));
    m_lNotice->setAutoFillBackground(true);
    QPalette noticePalette = m_lNotice->palette();
    noticePalette.setColor(QPalette::Window, QColor(0xff, 0xf3, 0xc4));
    noticePalette.setColor(QPalette::WindowText, QColor(0x5a, 0x3b, 0x00));
    m_lNotice->setPalette(noticePalette);
    m_lNotice->setMargin(6);
    m_lNotice->hide();
    m_lScreenText = PlainLabel(page, QStringLiteral("lScreenText"));
    m_lImage = PlainLabel(page, QStringLiteral("lImage"));
    m_lImage->hide();
    m_lDetailTitle = PlainLabel(page, QStringLiteral("lDetailTitle"));
    QFont detailFont = m_lDetailTitle->font();
    detailFont.setBold(true);
    m_lDetailTitle->setFont(detailFont);
    m_mDetail = new QPlainTextEdit(page);
    m_mDetail->setObjectName(QStringLiteral("mDetail"));
    m_mDetail->setReadOnly(true);
    m_mDetail->setMinimumHeight(90);
    m_lDetailTitle->hide();
    m_mDetail->hide();
    m_mainLayout->addWidget(m_lNotice);
    m_mainLayout->addWidget(m_lScreenText);
    m_mainLayout->addWidget(m_lImage);
    // The options widget goes here (position 3), then the detail box.
    m_mainLayout->addWidget(m_lDetailTitle);
    m_mainLayout->addWidget(m_mDetail);
    m_mainLayout->addStretch(1);
    m_scroll->setWidget(page);
    body->addWidget(m_scroll, 1);
}

const ViewedAssistant* AssistantViewer::CurrentAssistant() const {
    return m_position >= 0 ? m_history[static_cast<std::size_t>(m_position)].Assistant.get() : nullptr;
}

const TAssistScreen* AssistantViewer::CurrentScreen() const {
    return m_position >= 0 ? m_history[static_cast<std::size_t>(m_position)].Screen : nullptr;
}

QString AssistantViewer::Notice() const {
    return m_lNotice->isHidden() ? QString() : m_lNotice->text();
}

QString AssistantViewer::DetailTitle() const {
    return m_lDetailTitle->isHidden() ? QString() : m_lDetailTitle->text();
}

QString AssistantViewer::DetailText() const {
    return m_mDetail->isHidden() ? QString() : m_mDetail->toPlainText();
}

const TAssistScreen* AssistantViewer::StartScreen(const ViewedAssistant& assistant,
                                                  const std::string& requested, QString& notice) const {
    const TAssistRoot& root = *assistant.Root;
    if (root.Screens.Empty()) {
        notice = QStringLiteral("This assistant has no screens.");
        return nullptr;
    }
    if (!requested.empty()) {
        if (const TAssistScreen* screen = root.Screens.FindScreen(requested))
            return screen;
        notice = QStringLiteral("The screen %1 to start at does not exist in this assistant. ")
                     .arg(Quoted(Q(requested)));
    }
    if (root.FirstScreen.empty()) {
        notice += QStringLiteral("This assistant names no first screen; its first listed screen is shown.");
        return root.Screens.Item(0);
    }
    if (const TAssistScreen* screen = root.Screens.FindScreen(root.FirstScreen))
        return screen;
    notice += QStringLiteral(
                  "The first screen %1 does not exist in this assistant; its first listed screen is shown.")
                  .arg(Quoted(Q(root.FirstScreen)));
    return root.Screens.Item(0);
}

void AssistantViewer::Visit(Entry entry, const QString& notice) {
    if (m_position >= 0) {
        const Entry& current = m_history[static_cast<std::size_t>(m_position)];
        // Choosing the screen that is already shown adds nothing to the history.
        if (current.Assistant == entry.Assistant && current.Screen == entry.Screen) {
            ShowCurrent(notice);
            return;
        }
    }
    m_history.resize(static_cast<std::size_t>(m_position + 1));
    m_history.push_back(std::move(entry));
    m_position = static_cast<int>(m_history.size()) - 1;
    ShowCurrent(notice);
}

const ViewedAssistant* AssistantViewer::EditorAssistant() const {
    for (const Entry& entry : m_history)
        if (entry.Assistant->FromEditor)
            return entry.Assistant.get();
    return nullptr;
}

void AssistantViewer::ReplaceEditorAssistant(std::shared_ptr<ViewedAssistant> replacement) {
    if (!replacement || !replacement->Root || m_position < 0 || EditorAssistant() == nullptr)
        return;
    replacement->FromEditor = true;
    QString notice;
    std::vector<Entry> kept;
    int shown = -1;
    for (std::size_t i = 0; i < m_history.size(); ++i) {
        Entry entry = m_history[i];
        const bool isShown = static_cast<int>(i) == m_position;
        if (entry.Assistant->FromEditor) {
            const TAssistScreen* screen =
                SameScreenIn(*entry.Assistant->Root, entry.Screen, *replacement->Root);
            if (screen == nullptr && !isShown)
                continue;
            if (screen == nullptr) {
                if (entry.Screen != nullptr)
                    notice = QStringLiteral(
                                 "The screen %1 is no longer in the assistant; its start screen is shown.")
                                 .arg(Quoted(Q(entry.Screen->ID)));
                QString startNotice;
                screen = StartScreen(*replacement, {}, startNotice);
                if (!startNotice.isEmpty())
                    notice = notice.isEmpty() ? startNotice : notice + QLatin1Char(' ') + startNotice;
            }
            entry = {replacement, screen};
        }
        // Visits that now show the same screen one after the other are one visit, as Visit keeps them.
        const bool repeated =
            !kept.empty() && kept.back().Assistant == entry.Assistant && kept.back().Screen == entry.Screen;
        if (!repeated)
            kept.push_back(std::move(entry));
        if (isShown)
            shown = static_cast<int>(kept.size()) - 1;
    }
    // The old assistant goes with the last entry that held it; the shown screen is drawn from the new.
    m_history = std::move(kept);
    m_position = shown;
    ShowCurrent(notice);
}

void AssistantViewer::GoBack() {
    if (m_position <= 0)
        return;
    --m_position;
    ShowCurrent({});
}

void AssistantViewer::GoForward() {
    if (m_position + 1 >= static_cast<int>(m_history.size()))
        return;
    ++m_position;
    ShowCurrent({});
}

void AssistantViewer::GoHome() {
    if (m_position < 0)
        return;
    std::shared_ptr<ViewedAssistant> assistant = m_history[static_cast<std::size_t>(m_position)].Assistant;
    QString notice;
    const TAssistScreen* start = StartScreen(*assistant, {}, notice);
    Visit({std::move(assistant), start}, notice);
}

void AssistantViewer::ShowCurrent(const QString& notice) {
    const Entry& entry = m_history[static_cast<std::size_t>(m_position)];
    const ViewedAssistant& assistant = *entry.Assistant;
    const TAssistRoot& root = *assistant.Root;
    const TAssistScreen* screen = entry.Screen;

    setWindowTitle(TitleText(root.Caption));
    m_lAssistantCaption->setText(Q(root.Caption));
    QString unused;
    const bool atStart = screen == StartScreen(assistant, {}, unused);
    m_lAssistantDescription->setText(Lines(root.Description));
    m_lAssistantDescription->setVisible(atStart && !root.Description.empty());

    m_lScreenCaption->setText(screen ? Q(screen->Caption) : QString());
    m_lScreenText->setText(screen ? Lines(screen->Description) : QString());
    m_lScreenText->setVisible(screen && !screen->Description.empty());
    if (screen)
        ShowImage(*screen, assistant);
    else
        m_lImage->hide();
    ShowOptions(screen, assistant.FromEditor && m_setup.OnEdit);
    ShowDetail({}, {});
    SetNotice(notice);
    UpdateButtons();
    m_scroll->ensureVisible(0, 0);
}

void AssistantViewer::ShowImage(const TAssistScreen& screen, const ViewedAssistant& assistant) {
    m_lImage->clear();
    if (screen.Image.empty()) {
        m_lImage->hide();
        return;
    }
    m_lImage->show();
    const QString name = Q(screen.Image);
    const ResolvedName resolved = ResolveFileName(name, assistant.Folder, *m_setup.Finder);
    if (!resolved.Error.isEmpty()) {
        m_lImage->setText(QStringLiteral("The image cannot be shown: ") + resolved.Error);
        return;
    }
    if (!QFileInfo(resolved.Path).isFile()) {
        m_lImage->setText(QStringLiteral("The image %1 was not found.").arg(Quoted(name)));
        return;
    }
    QImageReader reader(resolved.Path);
    const QSize declared = reader.size();
    if (declared.isValid() && qint64(declared.width()) * declared.height() > kViewerMaxImagePixels) {
        m_lImage->setText(QStringLiteral("The image %1 is too large to show (%2 x %3 pixels).")
                              .arg(Quoted(name))
                              .arg(declared.width())
                              .arg(declared.height()));
        return;
    }
    // The decoder's own limit guards formats whose header does not tell the size.
    const int previousLimit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(kViewerImageAllocationLimitMB);
    const QImage image = reader.read();
    QImageReader::setAllocationLimit(previousLimit);
    if (image.isNull()) {
        m_lImage->setText(
            QStringLiteral("The image %1 could not be read: %2").arg(Quoted(name), reader.errorString()));
        return;
    }
    m_lImage->setPixmap(QPixmap::fromImage(image));
}

void AssistantViewer::ShowOptions(const TAssistScreen* screen, bool editable) {
    if (m_options) {
        // This may run inside a click on one of the old buttons: take the old widget out of the window
        // at once and let the event loop destroy it after the click has been handled.
        m_options->hide();
        m_options->setParent(nullptr);
        m_options->deleteLater();
    }
    m_options = new QWidget;
    m_options->setObjectName(QStringLiteral("Options"));
    m_mainLayout->insertWidget(3, m_options);
    auto* grid = new QGridLayout(m_options);
    grid->setContentsMargins(0, 12, 0, 0);
    grid->setColumnStretch(0, 1);
    if (!screen)
        return;
    if (screen->Options.Empty()) {
        QLabel* none = PlainLabel(m_options, QStringLiteral("lNoOptions"));
        none->setText(QStringLiteral("This screen has no options."));
        grid->addWidget(none, 0, 0);
        return;
    }
    int row = 0;
    for (int i = 0; i < screen->Options.Count(); ++i) {
        const TAssistOption& option = *screen->Options.Item(i);
        const QString number = QString::number(i + 1);
        QLabel* caption = PlainLabel(m_options, QStringLiteral("lOptionCaption") + number);
        caption->setText(Q(option.Caption));
        QFont font = caption->font();
        font.setBold(true);
        caption->setFont(font);
        auto* button = new QPushButton(ButtonText(option.Action), m_options);
        button->setObjectName(QStringLiteral("bOption") + number);
        button->setToolTip(QString::fromUtf8(ActionText(option.Action).data(),
                                             static_cast<qsizetype>(ActionText(option.Action).size())));
        connect(button, &QPushButton::clicked, this, [this, i] { ChooseOption(i); });
        grid->addWidget(caption, row, 0);
        grid->addWidget(button, row, 1);
        if (editable) {
            auto* edit = new QToolButton(m_options);
            edit->setText(QStringLiteral("Edit"));
            edit->setObjectName(QStringLiteral("bEditOption") + number);
            edit->setToolTip(QStringLiteral("Edit this option in the editor"));
            connect(edit, &QToolButton::clicked, this, [this, i] { EditItem(i); });
            grid->addWidget(edit, row, 2);
        }
        ++row;
        if (!option.Description.empty()) {
            QLabel* description = PlainLabel(m_options, QStringLiteral("lOptionDescription") + number);
            description->setText(Lines(option.Description));
            description->setContentsMargins(16, 0, 0, 0);
            grid->addWidget(description, row, 0, 1, editable ? 3 : 2);
            ++row;
        }
        grid->setRowMinimumHeight(row, 8);
        ++row;
    }
}

void AssistantViewer::ShowDetail(const QString& title, const QString& text) {
    m_lDetailTitle->setText(title);
    m_mDetail->setPlainText(text);
    m_lDetailTitle->setVisible(!title.isEmpty());
    m_mDetail->setVisible(!title.isEmpty());
}

void AssistantViewer::SetNotice(const QString& text) {
    m_lNotice->setText(text);
    m_lNotice->setVisible(!text.isEmpty());
}

void AssistantViewer::UpdateButtons() {
    m_bBack->setEnabled(m_position > 0);
    m_bForward->setEnabled(m_position + 1 < static_cast<int>(m_history.size()));
    const ViewedAssistant* assistant = CurrentAssistant();
    m_bHome->setEnabled(assistant && !assistant->Root->Screens.Empty());
    m_bEditScreen->setEnabled(assistant && assistant->FromEditor && CurrentScreen());
}

void AssistantViewer::EditItem(int optionIndex) {
    const ViewedAssistant* assistant = CurrentAssistant();
    const TAssistScreen* screen = CurrentScreen();
    if (!m_setup.OnEdit || !assistant || !assistant->FromEditor || !screen)
        return;
    ViewerEditTarget target;
    target.ScreenIndex = assistant->Root->Screens.IndexOf(screen);
    target.ScreenID = screen->ID;
    if (const TAssistOption* option = screen->Options.Item(optionIndex)) {
        target.OptionIndex = optionIndex;
        target.OptionID = option->ID;
    }
    m_setup.OnEdit(target);
}

void AssistantViewer::ChooseOption(int index) {
    const TAssistScreen* screen = CurrentScreen();
    const TAssistOption* option = screen ? screen->Options.Item(index) : nullptr;
    if (!option)
        return;
    SetNotice({});
    ShowDetail({}, {});
    switch (option->Action) {
    case akGoto:
    case akGotoButton:
        GoToScreen(*option);
        return;
    case akAssistant:
        GoToAssistant(*option);
        return;
    case akInternet:
        OpenWebPage(*option);
        return;
    case akExec:
        ExecuteProgram(*option);
        return;
    case akNote: {
        const QString notes = NotesText(option->Notes);
        if (notes.isEmpty())
            SetNotice(QStringLiteral("This option has no notes."));
        else
            ShowDetail(QStringLiteral("Notes"), notes);
        return;
    }
    case akScript:
        ShowDetail(QStringLiteral("Script (read only)"), ScriptText(option->Script));
        SetNotice(QStringLiteral("Scripts are not run on this platform."));
        return;
    case akBrowse:
        ShowDetail(QStringLiteral("Document command"), Q(option->Command));
        SetNotice(
            QStringLiteral("Documents are not browsed on this platform; the option's command is shown."));
        return;
    case akRun:
        ShowDetail(QStringLiteral("Tool command"), Q(option->Command));
        SetNotice(
            QStringLiteral("Brakko tools are obsolete and are not run; the option's command is shown."));
        return;
    }
    SetNotice(QStringLiteral("This option has an action that the viewer does not know."));
}

void AssistantViewer::GoToScreen(const TAssistOption& option) {
    const Entry& current = m_history[static_cast<std::size_t>(m_position)];
    const std::string id = option.Command;
    if (id.empty()) {
        SetNotice(QStringLiteral("This option names no screen to go to."));
        return;
    }
    const TAssistScreen* target = current.Assistant->Root->Screens.FindScreen(id);
    if (!target) {
        SetNotice(QStringLiteral("The screen %1 that this option goes to does not exist in this assistant.")
                      .arg(Quoted(Q(id))));
        return;
    }
    Visit({current.Assistant, target});
}

void AssistantViewer::GoToAssistant(const TAssistOption& option) {
    const std::shared_ptr<ViewedAssistant> caller = m_history[static_cast<std::size_t>(m_position)].Assistant;
    const AssistantTarget target = SplitAssistantCommand(option.Command);
    if (target.File.isEmpty()) {
        SetNotice(QStringLiteral("This option names no assistant file."));
        return;
    }
    const ResolvedName resolved = ResolveFileName(target.File, caller->Folder, *m_setup.Finder);
    if (!resolved.Error.isEmpty()) {
        SetNotice(QStringLiteral("The assistant cannot be opened: ") + resolved.Error);
        return;
    }
    const QFileInfo file(resolved.Path);
    const QString path = QDir::cleanPath(file.absoluteFilePath());
    // An assistant already in the history is shown again rather than read a second time, so that
    // assistants pointing at each other do not pile up copies. The editor's assistant is among them:
    // an option naming the editor's file comes back to what is being tested, not to the saved copy.
    std::shared_ptr<ViewedAssistant> assistant;
    for (const Entry& entry : m_history)
        if (!entry.Assistant->FilePath.isEmpty() && entry.Assistant->FilePath == path)
            assistant = entry.Assistant;
    if (!assistant && !file.isFile()) {
        SetNotice(QStringLiteral("The assistant file %1 was not found.").arg(Quoted(target.File)));
        return;
    }
    if (!assistant) {
        try {
            std::unique_ptr<TAssistRoot> root = m_setup.Loader(path);
            if (!root)
                throw AppError("Nothing was read.");
            assistant = std::make_shared<ViewedAssistant>(std::move(root), path, file.absolutePath(), false);
        } catch (const std::exception& error) {
            SetNotice(QStringLiteral("The assistant %1 could not be opened: %2")
                          .arg(Quoted(target.File), Q(error.what())));
            return;
        }
    }
    QString notice;
    const TAssistScreen* start = StartScreen(*assistant, target.Screen.toStdString(), notice);
    Visit({std::move(assistant), start}, notice);
}

void AssistantViewer::OpenWebPage(const TAssistOption& option) {
    const WebAddress address = CheckWebAddress(option.Command);
    if (!address.Error.isEmpty()) {
        SetNotice(address.Error);
        return;
    }
    if (!m_setup.Desktop->OpenUrl(address.Url))
        SetNotice(QStringLiteral("The address %1 could not be opened.").arg(Quoted(address.Url.toString())));
}

void AssistantViewer::ExecuteProgram(const TAssistOption& option) {
    const ViewedAssistant& assistant = *m_history[static_cast<std::size_t>(m_position)].Assistant;
    const LaunchPlan plan = PlanLaunch(option.Command, assistant.Folder, *m_setup.Finder);
    if (!plan.Error.isEmpty()) {
        SetNotice(plan.Error);
        return;
    }
    ShowDetail(QStringLiteral("Program"), DescribeLaunch(plan.Launch));
    if (m_setup.NeverRunPrograms) {
        SetNotice(
            QStringLiteral("Running programs is turned off in this viewer; the program was not started."));
        return;
    }
    if (!m_setup.Desktop->ConfirmLaunch(this, plan.Launch)) {
        SetNotice(QStringLiteral("The program was not started."));
        return;
    }
    const bool started = plan.OpenAsDocument
                             ? m_setup.Desktop->OpenUrl(QUrl::fromLocalFile(plan.Launch.Program))
                             : m_setup.Desktop->StartProgram(plan.Launch);
    if (!started)
        SetNotice(QStringLiteral("The program %1 could not be started.").arg(Quoted(plan.Launch.Program)));
}
