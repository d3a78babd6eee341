#include "model/note.h"

TNote* TNotes::Add() {
    return AppendOwned(std::make_unique<TNote>());
}

TNote* TNotes::Insert(int index, std::unique_ptr<TNote>&& note) {
    return InsertOwned(index, std::move(note));
}

std::unique_ptr<TNote> TNotes::Detach(int index) {
    return DetachAt(index);
}

bool TNotes::Delete(int index) {
    return DeleteAt(index);
}

void TNotes::Clear() {
    ClearAll();
}
