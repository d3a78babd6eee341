#include "editor/filelistmenu.h"

#include "editor/uitext.h"
#include "support/textroutines.h"

#include <QAction>
#include <QMenu>

namespace {
// File names are compared as the file system compares them: exactly on Linux, where "Report.amf" and
// "report.amf" are two files; without regard to letter case where the file system ignores it.
bool SameFileName(const std::string& a, const std::string& b) {
#if defined(_WIN32) || defined(__APPLE__)
    return SameText(a, b);
#else
    return a == b;
#endif
}
} // namespace

TFileListMenu::TFileListMenu(QMenu* parentMenu, SelectCallback onSelect)
    : m_menu(parentMenu), m_onSelect(std::move(onSelect)) {
    m_triggered = QObject::connect(m_menu, &QMenu::triggered, m_menu, [this](QAction* action) {
        if (Entries().contains(action))
            EntryClicked(action);
    });
    SetEnabled(false);
}

TFileListMenu::~TFileListMenu() {
    QObject::disconnect(m_triggered);
}

QList<QAction*> TFileListMenu::Entries() const {
    return m_menu->actions();
}

void TFileListMenu::SetEnabled(bool enabled) {
    m_menu->menuAction()->setEnabled(enabled);
}

void TFileListMenu::Clear() {
    SetEnabled(false);
    for (QAction* entry : m_menu->actions()) {
        m_menu->removeAction(entry);
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

namespace {
std::string JoinedText(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        if (!text.empty())
            text += ',';
        text += QuoteIfNeeded(name);
    }
    return text;
}

std::vector<std::string> SplitText(const std::string& text) {
    std::string rest = text;
    std::vector<std::string> names;
    while (!rest.empty())
        names.push_back(NextListItem(rest));
    return names;
}

// Removes the first name equal to `name`; true when there was one.
bool RemoveName(std::vector<std::string>& names, const std::string& name) {
    for (auto it = names.begin(); it != names.end(); ++it) {
        if (SameFileName(*it, name)) {
            names.erase(it);
            return true;
        }
    }
    return false;
}
} // namespace

std::string TFileListMenu::GetText() const {
    return JoinedText(GetList());
}

void TFileListMenu::SetText(const std::string& text) {
    SetList(SplitText(text));
}

std::vector<std::string> TFileListMenu::GetList() const {
    std::vector<std::string> names;
    for (const QAction* entry : Entries())
        names.push_back(FileNameOf(entry));
    return names;
}

std::vector<std::string> TFileListMenu::ShownNames(const std::vector<std::string>& names) {
    std::vector<std::string> shown;
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string& name = names[i];
        if (name.empty())
            continue;
        bool earlier = false;
        for (size_t j = 0; j < i && !earlier; ++j)
            earlier = SameFileName(names[j], name);
        if (earlier)
            continue;
        if (static_cast<int>(shown.size()) == MaxCount)
            break;
        shown.push_back(name);
    }
    return shown;
}

void TFileListMenu::SetList(const std::vector<std::string>& names) {
    Clear();
    int count = 0;
    for (const std::string& name : ShownNames(names))
        AddEntry(++count, name);
    if (count > 0)
        SetEnabled(true);
}

std::string TFileListMenu::MergedText(const std::string& storedText) const {
    std::vector<std::string> names = SplitText(storedText);
    for (const std::string& name : GetList()) {
        bool stored = false;
        for (size_t i = 0; i < names.size() && !stored; ++i)
            stored = SameFileName(names[i], name);
        if (!stored)
            names.push_back(name);
    }
    for (const std::string& name : m_added) {
        RemoveName(names, name);
        names.insert(names.begin(), name);
    }
    return JoinedText(ShownNames(names));
}

void TFileListMenu::AddFile(const std::string& fileName) {
    if (fileName.empty())
        return;
    RemoveName(m_added, fileName);
    m_added.push_back(fileName);
    if (static_cast<int>(m_added.size()) > MaxCount)
        m_added.erase(m_added.begin());
    const QList<QAction*> entries = Entries();
    if (entries.isEmpty()) {
        AddEntry(1, fileName);
        SetEnabled(true);
        return;
    }
    if (SameFileName(FileNameOf(entries.front()), fileName))
        return; // already the newest: the entry stays exactly as it is
    std::vector<std::string> names = GetList();
    RemoveName(names, fileName);
    names.insert(names.begin(), fileName);
    SetList(names);
}

void TFileListMenu::AddEntry(int number, const std::string& fileName) {
    const QString name = QString::fromStdString(fileName);
    QAction* entry = new QAction(QString::number(number) + QLatin1Char(' ') + EscapeMnemonics(name), m_menu);
    entry->setData(name);
    m_menu->addAction(entry);
}

void TFileListMenu::EntryClicked(QAction* entry) {
    if (m_onSelect)
        m_onSelect(FileNameOf(entry));
}
