#include "editor/generalpanel.h"

#include "editor/documentedits.h"
#include "editor/dropdowncombobox.h"
#include "editor/exithandlers.h"
#include "editor/idcaptiondelegate.h"
#include "editor/optionpanel.h"
#include "editor/panelwidgets.h"
#include "editor/prompter.h"
#include "editor/uitext.h"
#include "model/assistroot.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

GeneralPanel::GeneralPanel(QWidget* parent) : ItemPanel(parent) {
    setObjectName(QStringLiteral("Root"));
    setWindowTitle(QStringLiteral("General"));

    auto* info = new QGroupBox(QStringLiteral("Information:"), this);
    info->setObjectName(QStringLiteral("gbInformation"));
    m_eAuthor = MakeEdit(QStringLiteral("eAuthor"), info);
    m_eBuildDate = MakeEdit(QStringLiteral("eBuildDate"), info);
    m_eBuildDate->setReadOnly(true);
    m_eBuildDate->setFocusPolicy(Qt::ClickFocus); // read-only and skipped by Tab, but can be clicked
    m_eVersion = MakeEdit(QStringLiteral("eVersion"), info);
    m_eCopyright = MakeEdit(QStringLiteral("eCopyright"), info);
    auto* infoLayout = new QFormLayout(info);
    infoLayout->addRow(MakeLabel(QStringLiteral("Author"), m_eAuthor, info), m_eAuthor);
    infoLayout->addRow(MakeLabel(QStringLiteral("Build date:"), m_eBuildDate, info), m_eBuildDate);
    infoLayout->addRow(MakeLabel(QStringLiteral("Version:"), m_eVersion, info), m_eVersion);
    infoLayout->addRow(MakeLabel(QStringLiteral("Copyright:"), m_eCopyright, info), m_eCopyright);

    m_eProjectID = MakeEdit(QStringLiteral("eProjectID"), this);
    m_eProjectCaption = MakeEdit(QStringLiteral("eProjectCaption"), this);
    m_cbInitScreen = new DropDownComboBox(this);
    m_cbInitScreen->setObjectName(QStringLiteral("cbInitScreen"));
    m_cbInitScreen->setEditable(true);
    m_cbInitScreen->setInsertPolicy(QComboBox::NoInsert);
    ShowIdCaptions(*m_cbInitScreen);
    m_mProjectExp = MakeMemo(QStringLiteral("mProjectExp"), this);

    auto* fields = new QFormLayout;
    fields->addRow(MakeLabel(QStringLiteral("ID for the Assistant:"), m_eProjectID, this), m_eProjectID);
    fields->addRow(MakeLabel(QStringLiteral("Caption for the Assistant:"), m_eProjectCaption, this),
                   m_eProjectCaption);
    fields->addRow(MakeLabel(QStringLiteral("Initial screen"), m_cbInitScreen, this), m_cbInitScreen);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(info);
    layout->addLayout(fields);
    layout->addWidget(
        MakeLabel(QStringLiteral("Description to appear on left-hand pane at start."), m_mProjectExp, this));
    layout->addWidget(m_mProjectExp, 1);

    ApplyHint(m_eAuthor,
              QStringLiteral("Name of author|Name of person creating this assistant; will be shown "
                             "in the About box."));
    ApplyHint(m_eBuildDate,
              QStringLiteral("Build date|Date assistant was built (YYYYMMDD); set automatically."));
    ApplyHint(m_eVersion,
              QStringLiteral("Version number|Version for assistant, normally <major>.<minor> (eg. "
                             "1.01); show in the About box."));
    ApplyHint(m_eCopyright, QStringLiteral("Copyright information (optional)|Copyright holder for assistant; "
                                           "will be shown in the About box."));
    ApplyHint(m_eProjectID, QStringLiteral("Assistant ID|Unique ID string for the assistant."));
    ApplyHint(m_eProjectCaption, QStringLiteral("Title for whole assistant|Title which appears in the left "
                                                "pane at the bottom while the assistant is being viewed."));
    ApplyHint(
        m_cbInitScreen,
        QStringLiteral("Default starting screen|Select the screen to use for the starting point if none "
                       "is specified. This is the normal starting place."));
    ApplyHint(m_mProjectExp, QStringLiteral("Enter initial description|Enter description of assistant, using "
                                            "Return to each paragraph."));

    setTabOrder(m_eAuthor, m_eVersion);
    setTabOrder(m_eVersion, m_eCopyright);
    setTabOrder(m_eCopyright, m_eProjectID);
    setTabOrder(m_eProjectID, m_eProjectCaption);
    setTabOrder(m_eProjectCaption, m_cbInitScreen);
    setTabOrder(m_cbInitScreen, m_mProjectExp);

    connect(m_cbInitScreen, &DropDownComboBox::aboutToDropDown, this, [this] { FillFirstScreenList(); });
}

bool GeneralPanel::ShowItem(TAssistBase* item) {
    m_root = dynamic_cast<TAssistRoot*>(item);
    if (m_root == nullptr)
        return false;
    m_eAuthor->setText(QString::fromStdString(m_root->AuthorName));
    m_eBuildDate->setText(QString::fromStdString(m_root->BuildDate));
    m_eCopyright->setText(QString::fromStdString(m_root->Copyright));
    m_eVersion->setText(QString::fromStdString(m_root->Version));
    m_eProjectID->setText(QString::fromStdString(m_root->ID));
    m_eProjectCaption->setText(QString::fromStdString(m_root->Caption));
    FillMemo(m_mProjectExp, m_root->Description);
    m_cbInitScreen->setCurrentText(QString::fromStdString(m_root->FirstScreen));
    return true;
}

TAssistBase* GeneralPanel::Item() const {
    return m_root;
}

QList<QWidget*> GeneralPanel::TextBoxes() const {
    return {m_eAuthor,         m_eVersion,     m_eCopyright, m_eProjectID,
            m_eProjectCaption, m_cbInitScreen, m_mProjectExp};
}

QList<QWidget*> GeneralPanel::ProseBoxes() const {
    return {m_eProjectCaption, m_mProjectExp};
}

void GeneralPanel::RegisterExitHandlers(ExitHandlerRegistry& registry) {
    // The build date is read-only: it has no handler, leaving it stores nothing.
    registry.Register(m_eProjectID, [this](QWidget*) { StoreID(); });
    registry.Register(m_eProjectCaption, [this](QWidget*) { StoreCaption(); });
    registry.Register(m_mProjectExp, [this](QWidget*) { StoreDescription(); });
    registry.Register(m_eAuthor, [this](QWidget*) { StoreAuthor(); });
    registry.Register(m_eCopyright, [this](QWidget*) { StoreCopyright(); });
    registry.Register(m_eVersion, [this](QWidget*) { StoreVersion(); });
    registry.Register(
        m_cbInitScreen, [this](QWidget*) { StoreFirstScreen(); }, true);
}

void GeneralPanel::StoreID() {
    if (m_root != nullptr)
        Edits().SetField(*m_root, TextField::ID, BoxText(m_eProjectID));
}

void GeneralPanel::StoreCaption() {
    if (m_root != nullptr)
        Edits().SetField(*m_root, TextField::Caption, BoxText(m_eProjectCaption));
}

void GeneralPanel::StoreDescription() {
    if (m_root != nullptr)
        Edits().SetDescription(*m_root, MemoLines(m_mProjectExp));
}

void GeneralPanel::StoreAuthor() {
    if (m_root != nullptr)
        Edits().SetField(*m_root, TextField::AuthorName, BoxText(m_eAuthor));
}

void GeneralPanel::StoreCopyright() {
    if (m_root != nullptr)
        Edits().SetField(*m_root, TextField::Copyright, BoxText(m_eCopyright));
}

void GeneralPanel::StoreVersion() {
    if (m_root != nullptr)
        Edits().SetField(*m_root, TextField::Version, BoxText(m_eVersion));
}

void GeneralPanel::StoreFirstScreen() {
    if (m_root == nullptr)
        return;
    TAssistRoot& root = *m_root;
    const std::string first = BoxText(m_cbInitScreen);
    if (!Edits().SetField(root, TextField::FirstScreen, first))
        return;
    if (first.empty() || root.Screens.FindScreen(first) != nullptr)
        return;
    const std::string question = "Can't find screen " + first + ".\r\rCreate a new one?";
    if (Ask().Message(Prompter::MessageKind::ConfirmYesNo, question) != Prompter::Answer::Yes)
        return;
    Edits().CreateScreen(&first);
    Q_EMIT ExpandInTree(&root);
}

void GeneralPanel::FillFirstScreenList() {
    std::vector<std::string> ids;
    if (Attached())
        for (const TAssistScreen& screen : Edits().Root().Screens)
            ids.push_back(screen.ID);
    OptionPanel::FillCommandExamples(m_cbInitScreen, 0, ids);
    if (Attached())
        SetScreenCaptions(*m_cbInitScreen, Edits().Root());
}
