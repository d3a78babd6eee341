#include "editor/assistantpage.h"

#include "editor/idcaptiondelegate.h"

#include "editor/generalpanel.h"
#include "editor/optionpanel.h"
#include "editor/panelwidgets.h"
#include "editor/screenpanel.h"
#include "editor/uitext.h"
#include "support/textroutines.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QStackedWidget>
#include <QTreeView>
#include <QVBoxLayout>

#include <string_view>

namespace {

QPushButton* MakeButton(const QString& objectName, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(objectName);
    return button;
}

} // namespace

AssistantPage::AssistantPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("AssistantPage"));

    // Left: structure buttons, then the tree with Up and Down below it.
    auto* left = new QWidget(this);
    left->setObjectName(QStringLiteral("pnLeft"));
    m_bNewScreen = MakeButton(QStringLiteral("bNewScreen"), QStringLiteral("&New screen"), left);
    m_bDelScreen = MakeButton(QStringLiteral("bDelScreen"), QStringLiteral("De&lete screen"), left);
    m_bNewOption = MakeButton(QStringLiteral("bNewOption"), QStringLiteral("New o&ption"), left);
    m_bDelOption = MakeButton(QStringLiteral("bDelOption"), QStringLiteral("Delete opt&ion"), left);

    auto* contents = new QGroupBox(QStringLiteral("Contents of file:"), left);
    contents->setObjectName(QStringLiteral("gbContents"));
    m_tree = new QTreeView(contents);
    m_tree->setObjectName(QStringLiteral("Tree"));
    m_tree->setHeaderHidden(true);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tree->setIndentation(19);
    m_tree->setUniformRowHeights(true); // the tree may hold a very large number of options
    m_tree->setTextElideMode(Qt::ElideRight);
    // Each row shows its item's caption, dimmed, beside the ID.
    m_tree->setItemDelegate(new IdCaptionDelegate(m_tree));
    ShowSelectionWithoutFocus(m_tree);
    ApplyHint(m_tree, QStringLiteral("Assistant structure|Lists the screens and options in the current "
                                     "assistant data."));
    m_bUp = MakeButton(QStringLiteral("bUp"), QStringLiteral("&Up"), contents);
    m_bDown = MakeButton(QStringLiteral("bDown"), QStringLiteral("&Down"), contents);
    auto* upDown = new QHBoxLayout;
    upDown->addWidget(m_bUp);
    upDown->addWidget(m_bDown);
    auto* contentsLayout = new QVBoxLayout(contents);
    contentsLayout->addWidget(m_tree, 1);
    contentsLayout->addLayout(upDown);

    auto* buttons = new QGridLayout;
    buttons->addWidget(m_bNewScreen, 0, 0);
    buttons->addWidget(m_bDelScreen, 0, 1);
    buttons->addWidget(m_bNewOption, 1, 0);
    buttons->addWidget(m_bDelOption, 1, 1);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addLayout(buttons);
    leftLayout->addWidget(contents, 1);

    // Right: the caption of the panel shown and the stack of the three panels.
    auto* right = new QWidget(this);
    right->setObjectName(QStringLiteral("pnRight"));
    m_panelCaption = new QLabel(right);
    m_panelCaption->setObjectName(QStringLiteral("lbPanelCaption"));
    m_panelCaption->setTextFormat(Qt::PlainText);
    QFont captionFont = m_panelCaption->font();
    captionFont.setBold(true);
    m_panelCaption->setFont(captionFont);
    auto* line = new QFrame(right);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    m_panels = new QStackedWidget(right);
    m_panels->setObjectName(QStringLiteral("Panels"));
    m_general = new GeneralPanel(m_panels);
    m_screen = new ScreenPanel(m_panels);
    m_option = new OptionPanel(m_panels);
    m_panels->addWidget(m_general);
    m_panels->addWidget(m_screen);
    m_panels->addWidget(m_option);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addWidget(m_panelCaption);
    rightLayout->addWidget(line);
    // A window too small for a panel's boxes scrolls the panel rather than squeezing its boxes.
    auto* scroller = new QScrollArea(right);
    scroller->setObjectName(QStringLiteral("PanelScroller"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    scroller->setWidget(m_panels);
    rightLayout->addWidget(scroller, 1);
    connect(m_panels, &QStackedWidget::currentChanged, this,
            [this] { m_panelCaption->setText(m_panels->currentWidget()->windowTitle()); });
    m_panelCaption->setText(m_panels->currentWidget()->windowTitle());

    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName(QStringLiteral("Splitter"));
    m_splitter->addWidget(left);
    m_splitter->addWidget(right);
    m_splitter->setChildrenCollapsible(false);
    // The tree keeps about a third of the room as the window grows, so that captions beside the IDs
    // show; the user's own split is kept in the settings.
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 2);
    m_splitter->setSizes({240, 460});

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_splitter);
}

bool AssistantPage::ShowPanel(const QString& name) {
    for (int i = 0; i < m_panels->count(); ++i) {
        QWidget* page = m_panels->widget(i);
        if (page->windowTitle() == name || page->objectName() == name) {
            m_panels->setCurrentIndex(i);
            return true;
        }
    }
    return false;
}

QList<ItemPanel*> AssistantPage::ItemPanels() const {
    return {m_general, m_screen, m_option};
}

QString AssistantPage::CurrentPanelName() const {
    return m_panels->currentWidget()->windowTitle();
}

std::string AssistantPage::SplitterSizesText() const {
    const QList<int> sizes = m_splitter->sizes();
    if (sizes.size() != 2)
        return {};
    return std::to_string(sizes.at(0)) + "," + std::to_string(sizes.at(1));
}

bool AssistantPage::ApplySplitterSizes(const std::string& text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos)
        return false;
    // Digits only on either side: a damaged value must not squeeze either side to nothing.
    const auto width = [](std::string_view part) {
        if (part.empty() || part.size() > 6 || part.find_first_not_of("0123456789") != std::string_view::npos)
            return 0;
        return StrToIntDef(part, 0);
    };
    const std::string_view all(text);
    const int tree = width(all.substr(0, comma));
    const int panel = width(all.substr(comma + 1));
    if (tree <= 0 || panel <= 0)
        return false;
    m_splitter->setSizes({tree, panel});
    return true;
}
