#include "components/qt/aboutbox.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "components/qt/reportviewer.h"

namespace {
QLabel* AddLine(QVBoxLayout* layout, QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText); // entries are shown as they are, never as markup
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    layout->addWidget(label);
    return label;
}
} // namespace

AboutBox::AboutBox(QWidget* owner, const TVersionRecord& record) : QDialog(owner) {
    setObjectName(QStringLiteral("AboutBox"));
    const QString program = QString::fromStdString(record.Description);
    setWindowTitle(tr("About %1").arg(program));

    auto* layout = new QVBoxLayout(this);
    QLabel* name = AddLine(layout, this, "lProgram", program);
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    name->setFont(big);
    AddLine(layout, this, "lVersion",
            tr("Version %1 (build %2)")
                .arg(QString::fromStdString(record.Version), QString::fromStdString(record.Build)));
    AddLine(
        layout, this, "lProduct",
        tr("Part of %1 %2")
            .arg(QString::fromStdString(record.ProductName), QString::fromStdString(record.ProductVersion)));
    if (!record.CompanyName.empty())
        AddLine(layout, this, "lCompany", QString::fromStdString(record.CompanyName));
    AddLine(layout, this, "lLegal", QString::fromStdString(record.LegalNotice));
    AddLine(layout, this, "lQt",
            tr("Built with Qt %1, running on Qt %2")
                .arg(QStringLiteral(QT_VERSION_STR), QString::fromLatin1(qVersion())));
    if (!record.FileName.empty())
        AddLine(layout, this, "lFile", QString::fromStdString(record.FileName));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->setObjectName(QStringLiteral("bOK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

AboutSupport::AboutSupport(std::shared_ptr<UserDialogs> dialogs) : m_dialogs(std::move(dialogs)) {
    RequireWidgetApplication(QCoreApplication::instance(), "About box");
    if (!m_dialogs)
        m_dialogs = std::make_shared<QtUserDialogs>();
}

ComponentStatus AboutSupport::ShowAbout(QWidget* owner, const std::string& module, int /*n*/) {
    try {
        const std::string path =
            module.empty() ? QCoreApplication::applicationFilePath().toStdString() : module;
        AboutBox box(owner, TVersionInformation::OfProgram(path));
        m_dialogs->RunDialog(box);
        return ComponentStatus::Success();
    } catch (const std::exception& e) {
        return ComponentStatus::Failure(std::string("The About box could not be shown: ") + e.what());
    }
}
