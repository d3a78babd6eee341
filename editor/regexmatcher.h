#pragma once
// The editor's matcher for the find panel: plain text or a regular expression (QRegularExpression),
// with match case and whole words. Offsets are bytes of the UTF-8 text, as the assistant search uses.
#include "model/textmatcher.h"

#include <QRegularExpression>
#include <QString>

class TRegexMatcher : public ITextMatcher {
public:
    TRegexMatcher(const QString& pattern, bool matchCase, bool wholeWords, bool regularExpression);
    // False for a regular expression that does not compile; Error() then says why.
    bool IsValid() const { return m_error.isEmpty(); }
    // "Invalid regular expression at position N: <reason>", or empty.
    QString Error() const { return m_error; }
    std::vector<TTextMatch> FindAll(std::string_view text) const override;
    // With a regular expression, \1 to \9 and \0 in the replacement stand for the match's groups.
    std::string Replacement(std::string_view text, const TTextMatch& match,
                            std::string_view replaceWith) const override;
    bool SpansLines() const override { return true; }

private:
    QRegularExpression m_expression;
    bool m_regular;
    QString m_error;
};
