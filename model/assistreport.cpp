// The model's items writing themselves into the HTML report writer: the assistant's section with its
// table, then a section per screen holding the screen's table and one table per option.
//
// Every writer call is checked at once: the first failing call raises AppError with the writer's
// message and nothing more is written. The report only reads the model.
#include <string>
#include <string_view>
#include <vector>

#include "model/actionkind.h"
#include "model/assistroot.h"
#include "model/screenindex.h"
#include "support/components.h"

namespace {
// Number of bytes of the character that starts at text[i]: a UTF-8 lead byte together with the
// continuation bytes that follow it (at most as many as the lead byte announces), so a multi-byte
// character always travels as one text. A byte that is not valid UTF-8 goes alone; the writer deals
// with it.
std::size_t CharacterLength(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t expected = 1;
    if (lead >= 0xF0 && lead <= 0xF7)
        expected = 4;
    else if (lead >= 0xE0)
        expected = 3;
    else if (lead >= 0xC0)
        expected = 2;
    std::size_t length = 1;
    while (length < expected && i + length < text.size() &&
           (static_cast<unsigned char>(text[i + length]) & 0xC0) == 0x80)
        ++length;
    return length;
}

// Writes text with its line breaks: each run of CR and LF characters, however long, becomes one
// "BR" tag (so blank lines vanish), every other character is one text run of that character.
void WriteTextWithBreaks(IHTMLReport& report, std::string_view text) {
    bool afterLineEnd = false;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (!afterLineEnd)
                Check(report.AddTag("BR"));
            afterLineEnd = true;
            ++i;
            continue;
        }
        afterLineEnd = false;
        const std::size_t length = CharacterLength(text, i);
        Check(report.AddText(std::string(text.substr(i, length))));
        i += length;
    }
}

// A description as one text: every line followed by CR LF, so the text ends with a break.
std::string DescriptionText(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

// A row holding a label and a plain-text value.
void WriteValueRow(IHTMLReport& report, const std::string& label, const std::string& value) {
    Check(report.BeginRow());
    Check(report.AddLabelCell(label, 0));
    Check(report.AddCell(value));
    Check(report.EndRow());
}

// The "Explanation" row, written only when the item has a description.
void WriteExplanationRow(IHTMLReport& report, const std::vector<std::string>& description) {
    if (description.empty())
        return;
    Check(report.BeginRow());
    Check(report.AddLabelCell("Explanation", 0));
    Check(report.BeginCell());
    WriteTextWithBreaks(report, DescriptionText(description));
    Check(report.EndCell());
    Check(report.EndRow());
}

// The target of a go-to option: a link to the screen the command names, or a remark that there is
// none. The link keeps the command as the option stores it; the writer folds the letter case of
// anchors and link targets alike, as the screen look-up does, so the link still reaches the screen
// whose ID differs from the command in case.
void WriteScreenLink(IHTMLReport& report, const TAssistOption& option, const TScreenIndex* screens) {
    const std::string& command = option.Command;
    if (command.empty()) {
        Check(report.AddText("Not specified."));
        return;
    }
    const TAssistScreen* screen = screens ? screens->Find(command) : nullptr;
    if (!screen) {
        Check(report.AddText(command + " (not found)."));
        return;
    }
    Check(report.AddTag("A href=\"#" + command + "\""));
    Check(report.AddText(command + ": " + screen->Caption));
    Check(report.AddTag("/A"));
}
} // namespace

void TAssistRoot::WriteReport(IHTMLReport& report) const {
    Check(report.BeginSection("Report on Assistant: " + ID + ": " + Caption));
    Check(report.AddTag("A name=\"" + ID + "\""));
    Check(report.BeginTable(0, -1));
    WriteValueRow(report, "Author", AuthorName);
    WriteValueRow(report, "Build date", BuildDate);
    WriteValueRow(report, "Version", Version);
    WriteValueRow(report, "Copyright", Copyright);

    Check(report.BeginRow());
    Check(report.AddLabelCell("First screen", 0));
    // An empty first screen is "Not specified." even though the look-up would find a screen whose ID
    // is empty too.
    // One index serves every look-up of the report: the first screen and each go-to option's target.
    const TScreenIndex screens(Screens);
    const TAssistScreen* first = FirstScreen.empty() ? nullptr : screens.Find(FirstScreen);
    if (first) {
        Check(report.BeginCell());
        Check(report.AddTag("a href=\"#" + FirstScreen + "\""));
        Check(report.AddText(FirstScreen + ": " + first->Caption));
        Check(report.AddTag("/a"));
        Check(report.EndCell());
    } else {
        Check(report.AddCell("Not specified."));
    }
    Check(report.EndRow());

    WriteExplanationRow(report, Description);
    Check(report.EndTable());
    for (const TAssistScreen& screen : Screens)
        screen.WriteReport(report, screens);
    Check(report.EndSection());
}

void TAssistScreen::WriteReport(IHTMLReport& report) const {
    WriteReport(report, TScreenIndex(Root->Screens));
}

void TAssistScreen::WriteReport(IHTMLReport& report, const TScreenIndex& screens) const {
    Check(report.BeginSection("Screen: " + ID + ": " + Caption));
    Check(report.AddTag("A name=\"" + ID + "\""));
    Check(report.BeginTable(0, -1));
    if (!Image.empty())
        WriteValueRow(report, "Image file", Image);
    WriteExplanationRow(report, Description);
    Check(report.EndTable());
    for (const TAssistOption& option : Options)
        option.WriteReport(report, screens);
    Check(report.EndSection());
}

void TAssistOption::WriteReport(IHTMLReport& report) const {
    // An option without an assistant finds no screen.
    if (!Root) {
        WriteReport(report, nullptr);
        return;
    }
    WriteReport(report, TScreenIndex(Root->Screens));
}

void TAssistOption::WriteReport(IHTMLReport& report, const TScreenIndex& screens) const {
    WriteReport(report, &screens);
}

void TAssistOption::WriteReport(IHTMLReport& report, const TScreenIndex* screens) const {
    Check(report.BeginTable(0, -1));
    WriteValueRow(report, "Option", ID + ": " + Caption);

    Check(report.BeginRow());
    Check(report.AddLabelCell("Action", 0));
    Check(report.BeginCell());
    switch (Action) {
    case akGoto:
        Check(report.AddText("Goto "));
        WriteScreenLink(report, *this, screens);
        break;
    case akGotoButton:
        Check(report.AddText("Goto (button) "));
        WriteScreenLink(report, *this, screens);
        break;
    case akScript:
        WriteTextWithBreaks(report, Script);
        break;
    default:
        Check(report.AddText(std::string(ActionKeyword(Action)) + " "));
        Check(report.AddText(Command));
        break;
    }
    Check(report.EndCell());
    Check(report.EndRow());

    WriteExplanationRow(report, Description);
    if (!Notes.Empty()) {
        Check(report.BeginRow());
        Check(report.AddLabelCell("Notes", 0));
        Check(report.BeginCell());
        Notes.WriteReport(report);
        Check(report.EndCell());
        Check(report.EndRow());
    }
    Check(report.EndTable());
}

void TNote::WriteReport(IHTMLReport& report) const {
    Check(report.AddText(Name));
    Check(report.AddTag("i"));
    Check(report.AddText("  (" + Type + ", " + ID + ")"));
    Check(report.AddTag("/i"));
    Check(report.AddText(": " + Text));
}

void TNotes::WriteReport(IHTMLReport& report) const {
    bool first = true;
    for (const TNote& note : *this) {
        if (!first)
            Check(report.AddTag("P"));
        first = false;
        note.WriteReport(report);
    }
}
