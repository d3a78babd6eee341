#include "editor/notevalues.h"

#include "model/note.h"

namespace {

bool HasNonBlank(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) > 32)
            return true;
    return false;
}

} // namespace

NoteButtonStates NoteButtonsFor(std::string_view name, std::string_view type, std::string_view id,
                                bool lineSelected) {
    NoteButtonStates states;
    states.del = lineSelected;
    states.add = HasNonBlank(name) && HasNonBlank(type) && HasNonBlank(id);
    states.replace = states.add && states.del;
    return states;
}

std::string NoteListLine(const TNote& note) {
    return note.Name + '\t' + note.ID + '\t' + note.Type + '\t' + note.Text;
}

const std::array<std::string_view, 10>& NoteTypes() {
    static constexpr std::array<std::string_view, 10> types = {
        "Miscellaneous",
        "Safety",
        "Material Incompatibility",
        "Materials Recovery",
        "Toxicity",
        "Hazards Evaluation",
        "Environmental/Regulations",
        "Waste Handling",
        "Scalability",
        "Operability",
    };
    return types;
}
