#pragma once
// Test helpers for assistant files: fixed users and date, reading a text into an assistant, catching the
// message of a failed read, a dump of every field of an assistant for whole-model comparisons, and a
// scripted stand-in for the dialogs and questions of saving and opening.
#include "model/assistroot.h"
#include "model/documentprompts.h"
#include "support/clock.h"
#include "support/error.h"
#include "support/textroutines.h"

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace filetest {

inline const std::string Ann = "{1F0C2B7E-0000-4000-8000-00000000000A} Ann Lee";
inline const std::string Bob = "{2A0C2B7E-0000-4000-8000-00000000000B} Bob Ray";

inline const std::string Declaration = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)";

// A document with the given content inside an ASSISTANT root of the current format version.
inline std::string Doc(const std::string& content) {
    return Declaration + "\n<ASSISTANT NAME=\"A1\" VERSION=\"1\" BACKWARDS=\"0\">" + content + "</ASSISTANT>";
}

// Fixes today's date so that build dates and the default copyright line are known.
class FileTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetTodaySource([] {
            return std::chrono::year_month_day{std::chrono::year{2005}, std::chrono::month{1},
                                               std::chrono::day{2}};
        });
    }
    void TearDown() override { SetTodaySource({}); }
};

inline void LoadText(TAssistRoot& root, const std::string& text) {
    std::istringstream in(text);
    root.LoadFromStream(in);
}

// The message of the AppError that reading `text` into a new assistant raises; "(no error)" when it reads.
inline std::string ReadError(const std::string& text) {
    TAssistRoot root(Ann);
    try {
        LoadText(root, text);
    } catch (const AppError& e) {
        return e.what();
    }
    return "(no error)";
}

// Control characters shown visibly so that differences in line breaks are readable in failures.
inline std::string Visible(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else
            out += c;
    }
    return out;
}

inline std::string DescriptionDump(const std::vector<std::string>& lines) {
    std::string out = "[";
    for (const std::string& line : lines)
        out += "<" + Visible(line) + ">";
    return out + "]";
}

// Every field that a file stores, one line each, in a fixed order.
inline std::string Dump(const TAssistRoot& root) {
    std::string out;
    auto field = [&out](const std::string& name, const std::string& value) {
        out += name + "=" + Visible(value) + "\n";
    };
    field("ID", root.ID);
    field("Caption", root.Caption);
    field("Description", DescriptionDump(root.Description));
    field("FirstScreen", root.FirstScreen);
    field("AuthorName", root.AuthorName);
    field("AuthorID", root.AuthorID);
    field("AuthorCode", UIntToStr(root.AuthorCode));
    field("ModifierID", root.ModifierID);
    field("ModifierCode", UIntToStr(root.ModifierCode));
    field("BuildDate", root.BuildDate);
    field("Version", root.Version);
    field("Copyright", root.Copyright);
    for (const TAssistScreen& screen : root.Screens) {
        field(" Screen", screen.ID);
        field("  Caption", screen.Caption);
        field("  Image", screen.Image);
        field("  Description", DescriptionDump(screen.Description));
        for (const TAssistOption& option : screen.Options) {
            field("  Option", option.ID);
            field("   Caption", option.Caption);
            field("   Description", DescriptionDump(option.Description));
            field("   Action", std::string(ActionKeyword(option.Action)));
            field("   Command", option.Command);
            field("   Script", option.Script);
            for (const TNote& note : option.Notes)
                field("   Note", note.Name + "|" + note.Type + "|" + note.ID + "|" + note.Text);
        }
    }
    return out;
}

// Answers the dialogs and the questions from scripted replies and records every request.
class FakePrompts : public IDocumentPrompts {
public:
    std::deque<std::optional<std::string>> FileNames; // replies to AskFileName, in order
    std::deque<TSaveFirstAnswer> SaveFirstAnswers;    // replies to AskSaveFirst, in order
    std::deque<bool> ReplaceAnswers;                  // replies to AskReplace, in order
    std::vector<TFileDialogRequest> Requests;
    std::vector<std::string> Questions;
    std::string Folder = "/program/folder";

    std::optional<std::string> AskFileName(const TFileDialogRequest& request) override {
        Requests.push_back(request);
        if (FileNames.empty()) {
            ADD_FAILURE() << "unexpected file dialog: " << request.Title;
            return std::nullopt;
        }
        std::optional<std::string> reply = FileNames.front();
        FileNames.pop_front();
        return reply;
    }
    TSaveFirstAnswer AskSaveFirst(const std::string& text) override {
        Questions.push_back(text);
        if (SaveFirstAnswers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text;
            return TSaveFirstAnswer::Cancel;
        }
        const TSaveFirstAnswer reply = SaveFirstAnswers.front();
        SaveFirstAnswers.pop_front();
        return reply;
    }
    bool AskReplace(const std::string& text) override {
        Questions.push_back(text);
        if (ReplaceAnswers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text;
            return false;
        }
        const bool reply = ReplaceAnswers.front();
        ReplaceAnswers.pop_front();
        return reply;
    }
    std::string ProgramFolder() const override { return Folder; }
};

} // namespace filetest
