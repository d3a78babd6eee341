#include "editor/regexmatcher.h"

TRegexMatcher::TRegexMatcher(const QString& pattern, bool matchCase, bool wholeWords, bool regularExpression)
    : m_regular(regularExpression) {
    QString source = regularExpression ? pattern : QRegularExpression::escape(pattern);
    if (wholeWords)
        source = QStringLiteral("\\b(?:%1)\\b").arg(source);
    QRegularExpression::PatternOptions options = QRegularExpression::UseUnicodePropertiesOption;
    if (!matchCase)
        options |= QRegularExpression::CaseInsensitiveOption;
    m_expression = QRegularExpression(source, options);
    if (pattern.isEmpty())
        m_error = QStringLiteral("Nothing to find.");
    else if (!m_expression.isValid()) {
        // The position is told in the text the user typed, not in the expression wrapped for whole words.
        const QRegularExpression typed(pattern);
        const QRegularExpression& failed = typed.isValid() ? m_expression : typed;
        m_error = QStringLiteral("Invalid regular expression at position %1: %2")
                      .arg(failed.patternErrorOffset())
                      .arg(failed.errorString());
    }
}

namespace {
// Byte length of the UTF-8 encoding of the first `units` UTF-16 code units of `text`.
std::size_t Utf8Length(const QString& text, qsizetype units) {
    return static_cast<std::size_t>(text.left(units).toUtf8().size());
}
} // namespace

std::vector<TTextMatch> TRegexMatcher::FindAll(std::string_view text) const {
    std::vector<TTextMatch> result;
    if (!IsValid())
        return result;
    const QString wide = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    auto it = m_expression.globalMatch(wide);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        if (m.capturedLength() == 0)
            continue; // an empty match replaces nothing and cannot be shown
        const std::size_t start = Utf8Length(wide, m.capturedStart());
        result.push_back({start, Utf8Length(wide, m.capturedEnd()) - start});
    }
    return result;
}

std::string TRegexMatcher::Replacement(std::string_view text, const TTextMatch& match,
                                       std::string_view replaceWith) const {
    if (!m_regular)
        return std::string(replaceWith);
    const QString found = QString::fromUtf8(text.data() + match.Offset, static_cast<qsizetype>(match.Length));
    const QRegularExpressionMatch m = m_expression.match(found, 0, QRegularExpression::NormalMatch,
                                                         QRegularExpression::AnchorAtOffsetMatchOption);
    const QString with = QString::fromUtf8(replaceWith.data(), static_cast<qsizetype>(replaceWith.size()));
    QString out;
    for (qsizetype i = 0; i < with.size(); ++i) {
        if (with[i] == u'\\' && i + 1 < with.size() && with[i + 1].isDigit()) {
            out += m.captured(with[i + 1].digitValue());
            ++i;
        } else {
            out += with[i];
        }
    }
    return out.toStdString();
}
