#include "editor/panelwidgets.h"

#include "support/textroutines.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

QLabel* MakeLabel(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    if (buddy != nullptr)
        label->setBuddy(buddy);
    return label;
}

QLineEdit* MakeEdit(const QString& objectName, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    return edit;
}

QPlainTextEdit* MakeMemo(const QString& objectName, QWidget* parent) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(objectName);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setTabChangesFocus(true);
    return memo;
}

void ShowSelectionWithoutFocus(QAbstractItemView* view) {
    QPalette palette = view->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    view->setPalette(palette);
}

// ---- Box texts and model values

void FillMemo(QPlainTextEdit* memo, const std::vector<std::string>& lines) {
    QString text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += u'\n';
        text += QString::fromStdString(Trim(lines[i]));
    }
    memo->setPlainText(text);
    memo->moveCursor(QTextCursor::Start);
}

std::vector<std::string> MemoLines(const QPlainTextEdit* memo) {
    const QString plain = memo->toPlainText();
    std::string text = plain.toStdString();
    std::vector<std::string> lines;
    while (!text.empty())
        lines.push_back(Trim(SplitAt(text, '\n')));
    // A final line break leaves nothing after it for the loop; it still ends an (empty) last line.
    if (!plain.isEmpty() && plain.endsWith(u'\n'))
        lines.emplace_back();
    return lines;
}

QString ScriptMemoText(const std::string& script) {
    std::string rest = script;
    QString text;
    bool first = true;
    while (!rest.empty()) {
        if (!first)
            text += u'\n';
        first = false;
        text += QString::fromStdString(Trim(SplitAt(rest, '\r')));
    }
    return text;
}

std::string ScriptOf(const QPlainTextEdit* memo) {
    std::string text = memo->toPlainText().toStdString();
    std::string script;
    while (!text.empty()) {
        script += Trim(SplitAt(text, '\n'));
        script += '\r';
    }
    while (!script.empty() && (script.back() == '\r' || script.back() == ' '))
        script.pop_back();
    return script;
}

std::string BoxText(const QWidget* box) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(box))
        return edit->text().toStdString();
    if (const auto* combo = qobject_cast<const QComboBox*>(box))
        return combo->currentText().toStdString();
    return {};
}
