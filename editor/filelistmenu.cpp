#include "editor/filelistmenu.h"

#include "support/textroutines.h"

#include <QAction>
#include <QMenu>

namespace {
// Qt shows '&' as a mnemonic marker; "&&" shows a literal '&'.
QString EscapeMnemonics(const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1Char('&'), QLatin1String("&&"));
    return escaped;
}

// The inverse for captions made elsewhere: "&&" gives '&', a single '&' marks a mnemonic and goes.
QString StripMnemonics(const QString& text) {
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&'))
                ++i;
            else
                continue;
        }
        plain += text[i];
    }
    return plain;
}
} // namespace

TFileListMenu::TFileListMenu(QMenu* parentMenu, SelectCallback onSelect)
    : menu_(parentMenu), onSelect_(std::move(onSelect)) {
    triggered_ = QObject::connect(menu_, &QMenu::triggered, menu_, [this](QAction* action) {
        if (Entries().contains(action))
            EntryClicked(action);
    });
    SetEnabled(false);
}

TFileListMenu::~TFileListMenu() {
    QObject::disconnect(triggered_);
}

QList<QAction*> TFileListMenu::Entries() const {
    return menu_->actions();
}

void TFileListMenu::SetEnabled(bool enabled) {
    menu_->menuAction()->setEnabled(enabled);
}

void TFileListMenu::Clear() {
    SetEnabled(false);
    for (QAction* entry : menu_->actions()) {
        menu_->removeAction(entry);
        // The entry may be the one whose click is being handled (opening a recent file rebuilds the
        // list): it goes when control is back in the event loop.
        entry->deleteLater();
    }
}

std::string TFileListMenu::FileNameOf(const QAction* entry) {
    const QVariant data = entry->data();
    if (data.typeId() == QMetaType::QString)
        return data.toString().toStdString();
    // An entry made elsewhere: the caption after its first space.
    const QString caption = StripMnemonics(entry->text());
    const qsizetype space = caption.indexOf(QLatin1Char(' '));
    return space < 0 ? std::string() : caption.mid(space + 1).toStdString();
}

std::string TFileListMenu::GetText() const {
    std::string text;
    for (const std::string& name : GetList()) {
        if (!text.empty())
            text += ',';
        text += QuoteIfNeeded(name);
    }
    return text;
}

void TFileListMenu::SetText(const std::string& text) {
    std::string rest = text;
    std::vector<std::string> names;
    while (!rest.empty())
        names.push_back(NextListItem(rest));
    SetList(names);
}

std::vector<std::string> TFileListMenu::GetList() const {
    std::vector<std::string> names;
    for (const QAction* entry : Entries())
        names.push_back(FileNameOf(entry));
    return names;
}

void TFileListMenu::SetList(const std::vector<std::string>& names) {
    Clear();
    int count = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string& name = names[i];
        if (name.empty())
            continue;
        bool earlier = false;
        for (size_t j = 0; j < i && !earlier; ++j)
            earlier = SameText(names[j], name);
        if (earlier)
            continue;
        if (++count > MaxCount)
            break;
        AddEntry(count, name);
    }
    if (count > 0)
        SetEnabled(true);
}

void TFileListMenu::AddFile(const std::string& fileName) {
    if (fileName.empty())
        return;
    const QList<QAction*> entries = Entries();
    if (entries.isEmpty()) {
        AddEntry(1, fileName);
        SetEnabled(true);
        return;
    }
    if (SameText(FileNameOf(entries.front()), fileName))
        return; // already the newest: the entry stays exactly as it is
    std::vector<std::string> names = GetList();
    for (auto it = names.begin(); it != names.end(); ++it) {
        if (SameText(*it, fileName)) {
            names.erase(it);
            break;
        }
    }
    names.insert(names.begin(), fileName);
    SetList(names);
}

void TFileListMenu::AddEntry(int number, const std::string& fileName) {
    const QString name = QString::fromStdString(fileName);
    QAction* entry = new QAction(QString::number(number) + QLatin1Char(' ') + EscapeMnemonics(name), menu_);
    entry->setData(name);
    menu_->addAction(entry);
}

void TFileListMenu::EntryClicked(QAction* entry) {
    if (onSelect_)
        onSelect_(FileNameOf(entry));
}
