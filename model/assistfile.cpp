// Writing and reading the model's items as elements of an assistant file.
//
// TODO(file format): every body below is a placeholder that throws. The .amf element layout, its
// reading rules and their errors are still to be written here, on top of the XML tag writer and reader.
// Until then no assistant can be saved or opened.
#include "model/assistroot.h"
#include "support/error.h"

namespace {
[[noreturn]] void FileFormatMissing() {
    throw AppError("Reading and writing assistant files is not available yet.");
}
} // namespace

std::string TAssistRoot::SaveToText() {
    FileFormatMissing();
}

bool TAssistRoot::SaveToFile(bool, IDocumentPrompts&) {
    FileFormatMissing();
}

bool TAssistRoot::LoadFromFile(bool, IDocumentPrompts&) {
    FileFormatMissing();
}

void TAssistRoot::LoadFromStream(std::istream&) {
    FileFormatMissing();
}

void TAssistRoot::ReadDocument(TXMLTagFileIn&) {
    FileFormatMissing();
}

void TAssistBase::WriteDescription(TTagDomOut&) const {
    FileFormatMissing();
}

void TAssistRoot::WriteTags(TTagDomOut&) {
    FileFormatMissing();
}

void TAssistRoot::ReadTags(const std::string&, TXMLTagFileIn&) {
    FileFormatMissing();
}

void TAssistScreen::WriteTags(TTagDomOut&) {
    FileFormatMissing();
}

void TAssistScreen::ReadTags(const std::string&, TXMLTagFileIn&) {
    FileFormatMissing();
}

void TAssistOption::WriteTags(TTagDomOut&) {
    FileFormatMissing();
}

void TAssistOption::ReadTags(const std::string&, TXMLTagFileIn&) {
    FileFormatMissing();
}

void TNote::WriteTags(TTagDomOut&) const {
    FileFormatMissing();
}

void TNote::ReadTags(TXMLTagFileIn&) {
    FileFormatMissing();
}
