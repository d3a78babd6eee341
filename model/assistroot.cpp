#include "model/assistroot.h"

#include "model/authorship.h"
#include "support/clock.h"
#include "support/textroutines.h"

#include <chrono>

TAssistRoot::TAssistRoot(std::string userID) : Screens(*this), UserID(std::move(userID)) {
    Root = this;
    ID = "A1";
    Caption = "Assistant " + ID;
    AuthorName = UserIDName(UserID);
    Copyright = "Copyright (c) " + IntToStr(static_cast<int>(Today().year()));
    AuthorID = UserID;
    ModifierID = UserID;
    UpdateSignatures();
    Changed = false;
}

TAssistRoot::~TAssistRoot() = default;
