#include "model/assistsearch.h"

#include "model/assistoption.h"
#include "model/assistscreen.h"

namespace {

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i)
            text += '\n';
        text += lines[i];
    }
    return text;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    if (text.empty())
        return lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            return lines;
        start = end + 1;
    }
}

bool IsLineBreak(char c) {
    return c == '\n' || c == '\r';
}

// Adds the matches in `text`, which starts at `base` in the field's whole text.
void AddHits(TAssistBase& item, TSearchField field, int noteIndex, std::string_view text,
             const ITextMatcher& matcher, std::vector<TSearchHit>& hits, std::size_t base = 0) {
    for (const TTextMatch& m : matcher.FindAll(text)) {
        std::size_t lineStart = m.Offset;
        while (lineStart > 0 && !IsLineBreak(text[lineStart - 1]))
            --lineStart;
        std::size_t lineEnd = m.Offset + m.Length;
        while (lineEnd < text.size() && !IsLineBreak(text[lineEnd]))
            ++lineEnd;
        hits.push_back({&item, field, noteIndex, base + m.Offset, m.Length,
                        std::string(text.substr(lineStart, lineEnd - lineStart)), m.Offset - lineStart});
    }
}

// Calls `visit(item, field, noteIndex)` for every chosen field of every item, in search order.
template <typename Visit> void ForEachField(TAssistRoot& root, unsigned fields, Visit&& visit) {
    auto base = [&](TAssistBase& item, TSearchField textField) {
        for (TSearchField f : {sfID, sfCaption, textField})
            if (fields & f)
                visit(item, f, -1);
    };
    base(root, sfText);
    for (TAssistScreen& screen : root.Screens) {
        base(screen, sfText);
        for (TAssistOption& option : screen.Options) {
            base(option, sfOptionDescription);
            for (TSearchField f : {sfCommand, sfScript})
                if (fields & f)
                    visit(option, f, -1);
            if (fields & sfNotes)
                for (int i = 0; i < option.Notes.Count(); ++i)
                    visit(option, sfNotes, i);
        }
    }
}

std::string ReplaceMatches(const std::string& text, const std::vector<TTextMatch>& matches,
                           const ITextMatcher& matcher, const std::string& replaceWith) {
    std::string out;
    std::size_t at = 0;
    for (const TTextMatch& m : matches) {
        out.append(text, at, m.Offset - at);
        out += matcher.Replacement(text, m, replaceWith);
        at = m.Offset + m.Length;
    }
    out.append(text, at, std::string::npos);
    return out;
}

} // namespace

std::string FieldText(const TAssistBase& item, TSearchField field, int noteIndex) {
    const auto* option = dynamic_cast<const TAssistOption*>(&item);
    switch (field) {
    case sfID:
        return item.ID;
    case sfCaption:
        return item.Caption;
    case sfText:
    case sfOptionDescription:
        return JoinLines(item.Description);
    case sfCommand:
        return option ? option->Command : std::string();
    case sfScript:
        return option ? option->Script : std::string();
    case sfNotes:
        if (option && option->Notes.Item(noteIndex))
            return option->Notes.Item(noteIndex)->Text;
        return {};
    default:
        return {};
    }
}

void SetFieldText(TAssistBase& item, TSearchField field, int noteIndex, const std::string& text) {
    auto* option = dynamic_cast<TAssistOption*>(&item);
    switch (field) {
    case sfID:
        item.ID = text;
        break;
    case sfCaption:
        item.Caption = text;
        break;
    case sfText:
    case sfOptionDescription:
        item.Description = SplitLines(text);
        break;
    case sfCommand:
        if (option)
            option->Command = text;
        break;
    case sfScript:
        if (option)
            option->Script = text;
        break;
    case sfNotes:
        if (option && option->Notes.Item(noteIndex))
            option->Notes.Item(noteIndex)->Text = text;
        break;
    default:
        break;
    }
}

std::vector<TSearchHit> FindInAssistant(TAssistRoot& root, unsigned fields, const ITextMatcher& matcher) {
    std::vector<TSearchHit> hits;
    ForEachField(root, fields, [&](TAssistBase& item, TSearchField field, int note) {
        // Stored texts are searched in place, and descriptions line by line when no match can run
        // over a line break: copying every text would cost more than the search itself.
        const auto* option = dynamic_cast<const TAssistOption*>(&item);
        switch (field) {
        case sfID:
            AddHits(item, field, note, item.ID, matcher, hits);
            break;
        case sfCaption:
            AddHits(item, field, note, item.Caption, matcher, hits);
            break;
        case sfCommand:
            AddHits(item, field, note, option->Command, matcher, hits);
            break;
        case sfScript:
            AddHits(item, field, note, option->Script, matcher, hits);
            break;
        case sfNotes:
            AddHits(item, field, note, option->Notes.Item(note)->Text, matcher, hits);
            break;
        default:
            if (matcher.SpansLines()) {
                AddHits(item, field, note, FieldText(item, field, note), matcher, hits);
            } else {
                std::size_t base = 0;
                for (const std::string& line : item.Description) {
                    AddHits(item, field, note, line, matcher, hits, base);
                    base += line.size() + 1;
                }
            }
            break;
        }
    });
    return hits;
}

TFieldChange ReplaceOne(const TSearchHit& hit, const ITextMatcher& matcher, const std::string& replaceWith) {
    TFieldChange change{
        hit.Item, hit.Field, hit.NoteIndex, FieldText(*hit.Item, hit.Field, hit.NoteIndex), {}};
    change.NewText = ReplaceMatches(change.OldText, {{hit.Offset, hit.Length}}, matcher, replaceWith);
    return change;
}

std::vector<TFieldChange> ReplaceAll(TAssistRoot& root, unsigned fields, const ITextMatcher& matcher,
                                     const std::string& replaceWith) {
    std::vector<TFieldChange> changes;
    ForEachField(root, fields, [&](TAssistBase& item, TSearchField field, int note) {
        std::string text = FieldText(item, field, note);
        const std::vector<TTextMatch> matches = matcher.FindAll(text);
        if (matches.empty())
            return;
        std::string replaced = ReplaceMatches(text, matches, matcher, replaceWith);
        if (replaced != text)
            changes.push_back({&item, field, note, std::move(text), std::move(replaced)});
    });
    return changes;
}

void ApplyChanges(const std::vector<TFieldChange>& changes, bool undo) {
    if (changes.empty())
        return;
    if (undo)
        for (auto it = changes.rbegin(); it != changes.rend(); ++it)
            SetFieldText(*it->Item, it->Field, it->NoteIndex, it->OldText);
    else
        for (const TFieldChange& c : changes)
            SetFieldText(*c.Item, c.Field, c.NoteIndex, c.NewText);
    changes.front().Item->MarkChanged();
}
