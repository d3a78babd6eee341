#pragma once
// A prompter for tests: answers every question from a script, in order, and records what was asked.
// A question the script does not expect (none left, or of another kind) fails the running test; so does
// an expected question that was never asked by the time the prompter is destroyed.
#include "editor/prompter.h"

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

class ScriptedPrompter : public Prompter {
public:
    enum class Kind { Message, OpenFile, SaveFile, Input };

    struct Asked {
        Kind kind;
        MessageKind messageKind = MessageKind::ErrorOk; // for messages
        std::string title;                              // dialog title or input caption
        std::string text;                               // message text or input prompt
    };

    ~ScriptedPrompter() override {
        for (const Expected& expected : m_script)
            ADD_FAILURE() << "expected prompt never asked: " << KindName(expected.kind);
    }

    void ExpectMessage(MessageKind kind, Answer answer) {
        m_script.push_back(Expected{Kind::Message, kind, answer, std::nullopt});
    }
    void ExpectOpenFile(const std::optional<std::string>& answer) {
        m_script.push_back(Expected{Kind::OpenFile, {}, {}, answer});
    }
    void ExpectSaveFile(const std::optional<std::string>& answer) {
        m_script.push_back(Expected{Kind::SaveFile, {}, {}, answer});
    }
    // The save dialog is cancelled. (A separate call: g++ 12 with the sanitizers warns, wrongly, about
    // copying an empty optional built in place of the argument.)
    void ExpectSaveFileCancelled() { m_script.push_back(Expected{Kind::SaveFile, {}, {}, std::nullopt}); }
    void ExpectInput(const std::optional<std::string>& answer) {
        m_script.push_back(Expected{Kind::Input, {}, {}, answer});
    }

    const std::vector<Asked>& AskedPrompts() const { return m_asked; }
    size_t Pending() const { return m_script.size(); }

    Answer Message(MessageKind kind, const std::string& text) override {
        m_asked.push_back(Asked{Kind::Message, kind, {}, text});
        if (!Take(Kind::Message, &kind, text))
            return SafeAnswer(kind);
        const Answer answer = m_last.answer;
        return answer;
    }
    std::optional<std::string> OpenFileName(const FileRequest& request) override {
        m_asked.push_back(Asked{Kind::OpenFile, {}, request.title, {}});
        m_lastFileRequest = request;
        return Take(Kind::OpenFile, nullptr, request.title) ? m_last.text : std::nullopt;
    }
    std::optional<std::string> SaveFileName(const FileRequest& request) override {
        m_asked.push_back(Asked{Kind::SaveFile, {}, request.title, {}});
        m_lastFileRequest = request;
        return Take(Kind::SaveFile, nullptr, request.title) ? m_last.text : std::nullopt;
    }
    std::optional<std::string> InputText(const std::string& caption, const std::string& prompt,
                                         const std::string&) override {
        m_asked.push_back(Asked{Kind::Input, {}, caption, prompt});
        return Take(Kind::Input, nullptr, prompt) ? m_last.text : std::nullopt;
    }

    const FileRequest& LastFileRequest() const { return m_lastFileRequest; }

private:
    struct Expected {
        Kind kind;
        MessageKind messageKind;
        Answer answer;
        std::optional<std::string> text;
    };

    static const char* KindName(Kind kind) {
        switch (kind) {
        case Kind::Message:
            return "message box";
        case Kind::OpenFile:
            return "open-file dialog";
        case Kind::SaveFile:
            return "save-file dialog";
        case Kind::Input:
            return "input box";
        }
        return "?";
    }

    static Answer SafeAnswer(MessageKind kind) {
        switch (kind) {
        case MessageKind::WarningYesNoCancel:
            return Answer::Cancel;
        case MessageKind::ConfirmYesNo:
            return Answer::No;
        case MessageKind::RecoverDiscardLater:
            return Answer::Later;
        default:
            return Answer::Ok;
        }
    }

    bool Take(Kind kind, const MessageKind* messageKind, const std::string& text) {
        if (m_script.empty()) {
            ADD_FAILURE() << "unexpected prompt: " << KindName(kind) << " \"" << text << "\"";
            return false;
        }
        const Expected expected = m_script.front();
        if (expected.kind != kind || (messageKind != nullptr && expected.messageKind != *messageKind)) {
            ADD_FAILURE() << "unexpected prompt: " << KindName(kind) << " \"" << text
                          << "\" where the script expects a " << KindName(expected.kind)
                          << (expected.kind == kind ? " of another kind" : "");
            return false;
        }
        m_script.pop_front();
        m_last = expected;
        return true;
    }

    std::deque<Expected> m_script;
    std::vector<Asked> m_asked;
    Expected m_last{};
    FileRequest m_lastFileRequest;
};
