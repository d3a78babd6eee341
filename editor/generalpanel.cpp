#include "editor/generalpanel.h"

#include "editor/dropdowncombobox.h"
#include "editor/panelwidgets.h"
#include "editor/uitext.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

GeneralPanel::GeneralPanel(QWidget* parent) : QWidget(parent) {
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
}
