#include "editor/assistanttext.h"

#include "model/assistroot.h"

std::string AssistantTextKeepingState(TAssistRoot& root) {
    // Writing signs the assistant as a save does; these are all the fields that changes.
    const bool changed = root.Changed;
    const std::string modifierID = root.ModifierID;
    const std::uint32_t modifierCode = root.ModifierCode;
    const std::uint32_t authorCode = root.AuthorCode;
    const auto restore = [&] {
        root.Changed = changed;
        root.ModifierID = modifierID;
        root.ModifierCode = modifierCode;
        root.AuthorCode = authorCode;
    };
    try {
        std::string text = root.SaveToText();
        restore();
        return text;
    } catch (...) {
        restore();
        throw;
    }
}
