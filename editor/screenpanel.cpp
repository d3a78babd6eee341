#include "editor/screenpanel.h"

#include "editor/documentedits.h"
#include "editor/exithandlers.h"
#include "editor/imagepick.h"
#include "editor/panelwidgets.h"
#include "editor/uitext.h"
#include "model/assistroot.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

ScreenPanel::ScreenPanel(QWidget* parent) : ItemPanel(parent) {
    setObjectName(QStringLiteral("Screen"));
    setWindowTitle(QStringLiteral("Screen"));

    m_eScreenID = MakeEdit(QStringLiteral("eScreenID"), this);
    m_eScreenCaption = MakeEdit(QStringLiteral("eScreenCaption"), this);
    m_eScreenImage = MakeEdit(QStringLiteral("eScreenImage"), this);
    m_bImagePick = new QToolButton(this);
    m_bImagePick->setObjectName(QStringLiteral("bImagePick"));
    m_bImagePick->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    m_bImagePick->setFocusPolicy(Qt::NoFocus);
    m_mScreenExp = MakeMemo(QStringLiteral("mScreenExp"), this);

    auto* imageRow = new QHBoxLayout;
    imageRow->addWidget(m_eScreenImage, 1);
    imageRow->addWidget(m_bImagePick);

    auto* fields = new QFormLayout;
    fields->setRowWrapPolicy(QFormLayout::WrapAllRows);
    fields->addRow(MakeLabel(QStringLiteral("&ID for this screen"), m_eScreenID, this), m_eScreenID);
    fields->addRow(MakeLabel(QStringLiteral("&Caption for the screen:"), m_eScreenCaption, this),
                   m_eScreenCaption);
    fields->addRow(MakeLabel(QStringLiteral("I&mage to appear below text"), m_eScreenImage, this), imageRow);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(
        MakeLabel(QStringLiteral("Text to appear below caption, above image."), m_mScreenExp, this));
    layout->addWidget(m_mScreenExp, 1);

    ApplyHint(m_eScreenID, QStringLiteral("Screen ID|Unique ID string for the screen."));
    ApplyHint(m_eScreenCaption,
              QStringLiteral("Title for screen|Title which appears in the left pane at the top."));
    ApplyHint(m_mScreenExp, QStringLiteral("Enter screen description|Enter description of screen, appearing "
                                           "before options, using Return to each paragraph."));

    setTabOrder(m_eScreenID, m_eScreenCaption);
    setTabOrder(m_eScreenCaption, m_eScreenImage);
    setTabOrder(m_eScreenImage, m_mScreenExp);

    connect(m_bImagePick, &QToolButton::clicked, this, [this] { RunButton([this] { PickImage(); }); });
}

bool ScreenPanel::ShowItem(TAssistBase* item) {
    m_screen = dynamic_cast<TAssistScreen*>(item);
    if (m_screen == nullptr)
        return false;
    m_eScreenID->setText(QString::fromStdString(m_screen->ID));
    m_eScreenCaption->setText(QString::fromStdString(m_screen->Caption));
    m_eScreenImage->setText(QString::fromStdString(m_screen->Image));
    FillMemo(m_mScreenExp, m_screen->Description);
    return true;
}

TAssistBase* ScreenPanel::Item() const {
    return m_screen;
}

QList<QWidget*> ScreenPanel::TextBoxes() const {
    return {m_eScreenID, m_eScreenCaption, m_eScreenImage, m_mScreenExp};
}

QList<QWidget*> ScreenPanel::ProseBoxes() const {
    return {m_eScreenCaption, m_mScreenExp};
}

void ScreenPanel::RegisterExitHandlers(ExitHandlerRegistry& registry) {
    registry.Register(m_eScreenID, [this](QWidget*) { StoreID(); });
    registry.Register(m_eScreenCaption, [this](QWidget*) { StoreCaption(); });
    registry.Register(m_mScreenExp, [this](QWidget*) { StoreDescription(); });
    registry.Register(m_eScreenImage, [this](QWidget*) { StoreImage(); });
}

void ScreenPanel::StoreID() {
    if (m_screen != nullptr)
        Edits().SetField(*m_screen, TextField::ID, BoxText(m_eScreenID));
}

void ScreenPanel::StoreCaption() {
    if (m_screen != nullptr)
        Edits().SetField(*m_screen, TextField::Caption, BoxText(m_eScreenCaption));
}

void ScreenPanel::StoreDescription() {
    if (m_screen != nullptr)
        Edits().SetDescription(*m_screen, MemoLines(m_mScreenExp));
}

void ScreenPanel::StoreImage() {
    if (m_screen != nullptr)
        Edits().SetField(*m_screen, TextField::Image, BoxText(m_eScreenImage));
}

void ScreenPanel::PickImage() {
    if (m_screen == nullptr || !Attached())
        return;
    const auto image = PickScreenImage(Ask(), Edits().Root().FileName, m_screen->Image);
    if (!image)
        return;
    m_eScreenImage->setText(QString::fromStdString(*image));
    Edits().SetField(*m_screen, TextField::Image, *image);
}
