#include "model/authorship.h"

#include "model/assistroot.h"
#include "support/textroutines.h"

std::string UserIDName(const std::string& userID) {
    std::string rest = userID;
    SplitAt(rest, ' ');
    return rest;
}

std::string AuthorshipNotices(TAssistRoot& root) {
    std::string message;
    if (root.AuthorID.empty())
        message += "There is no author ID recorded for this Assistant.\r"
                   "If you save the assistant, you will be recorded as the author.\r\r";
    if (root.ModifierID.empty())
        message += "There is no modifier ID recorded for this Assistant.\r"
                   "If you save the assistant, you will be recorded as the modifier.\r\r";
    if (!SameText(root.ModifierID, root.AuthorID))
        message += "This assistant was created by " + UserIDName(root.AuthorID) + "\r" +
                   "but has been modified by " + UserIDName(root.ModifierID) + ".\r\r";
    if (!root.ModifierID.empty() && !SameText(root.ModifierID, root.UserID))
        message += "If you save the assistant, you will be recorded as the modifier.\r\r";
    if (root.ModifierSignatureChanged())
        message += "Warning: this assistant signature does not match.\r"
                   "The assistant has been modified since last edited.\r"
                   "If you save the file, the signature will be reset.\r\r";
    if (root.AuthorSignatureChanged())
        // "begin" is the wording users have always seen in this notice.
        message += "Warning: this assistant has been modified by " + UserIDName(root.ModifierID) + "\r" +
                   "after begin authored by " + UserIDName(root.AuthorID);

    // The signature checks above must see the IDs as read; only then are missing ones filled in.
    if (root.ModifierID.empty())
        root.ModifierID = root.UserID;
    if (root.AuthorID.empty())
        root.AuthorID = root.UserID;

    while (!message.empty() && message.back() == '\r')
        message.pop_back();
    return message;
}
