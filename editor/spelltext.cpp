#include "editor/spelltext.h"

#include "editor/spellservice.h"
#include "spell/wordtokenizer.h"

namespace {
// The text in UTF-8 with, for each byte offset (and the end), the UTF-16 position it starts at.
// Encoded here rather than by QString::toUtf8 so that the two always agree, also for a lone
// surrogate (written as U+FFFD).
struct Utf8Text {
    std::string Bytes;
    std::vector<int> Position;
};

Utf8Text ToUtf8(const QString& text) {
    Utf8Text out;
    out.Bytes.reserve(static_cast<std::size_t>(text.size()));
    out.Position.reserve(static_cast<std::size_t>(text.size()) + 1);
    const auto put = [&](char32_t cp, int position) {
        char buffer[4];
        int n = 0;
        if (cp < 0x80) {
            buffer[n++] = static_cast<char>(cp);
        } else if (cp < 0x800) {
            buffer[n++] = static_cast<char>(0xC0 | (cp >> 6));
            buffer[n++] = static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            buffer[n++] = static_cast<char>(0xE0 | (cp >> 12));
            buffer[n++] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            buffer[n++] = static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            buffer[n++] = static_cast<char>(0xF0 | (cp >> 18));
            buffer[n++] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            buffer[n++] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            buffer[n++] = static_cast<char>(0x80 | (cp & 0x3F));
        }
        out.Bytes.append(buffer, static_cast<std::size_t>(n));
        out.Position.insert(out.Position.end(), static_cast<std::size_t>(n), position);
    };
    const int size = static_cast<int>(text.size());
    for (int i = 0; i < size; ++i) {
        const char16_t unit = text.at(i).unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < size && QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            put(QChar::surrogateToUcs4(unit, text.at(i + 1).unicode()), i);
            ++i;
        } else if (QChar::isSurrogate(unit)) {
            put(0xFFFD, i);
        } else {
            put(unit, i);
        }
    }
    out.Position.push_back(size);
    return out;
}

SpellRange RangeOf(const Utf8Text& text, const WordSpan& span) {
    const int start = text.Position[span.Offset];
    return {start, text.Position[span.Offset + span.Length] - start};
}
} // namespace

std::vector<SpellRange> TextWords(const QString& text) {
    const Utf8Text utf8 = ToUtf8(text);
    std::vector<SpellRange> ranges;
    for (const WordSpan& span : SplitWords(utf8.Bytes))
        ranges.push_back(RangeOf(utf8, span));
    return ranges;
}

std::vector<SpellRange> MisspeltRanges(const QString& text, const SpellService& service) {
    std::vector<SpellRange> ranges;
    if (!service.IsActive())
        return ranges;
    const Utf8Text utf8 = ToUtf8(text);
    for (const WordSpan& span : SplitWords(utf8.Bytes)) {
        if (!service.IsCorrect(utf8.Bytes.substr(span.Offset, span.Length)))
            ranges.push_back(RangeOf(utf8, span));
    }
    return ranges;
}

std::optional<SpellRange> MisspeltWordAt(const QString& text, int position, const SpellService& service) {
    for (const SpellRange& range : MisspeltRanges(text, service)) {
        if (position >= range.Start && position <= range.Start + range.Length)
            return range;
    }
    return std::nullopt;
}

std::string WordText(const QString& text, const SpellRange& range) {
    return text.mid(range.Start, range.Length).toStdString();
}
