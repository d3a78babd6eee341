#pragma once
// What the editor tells the user about who created and who last saved an assistant it has just read,
// and whether the assistant's texts still match the signatures those people recorded.
#include <string>

class TAssistRoot;

// The name part of a user ID (a braced GUID, a blank, the name): the text after the first blank; empty
// when the ID has no blank.
std::string UserIDName(const std::string& userID);

// Builds the authorship notices for an assistant just read from a file: one text, lines separated by
// CR, without trailing CRs; empty when there is nothing to tell. Afterwards an empty ModifierID or
// AuthorID is replaced by the assistant's UserID. The changed flag is left alone.
std::string AuthorshipNotices(TAssistRoot& root);
