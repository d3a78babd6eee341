#include "editor/userid.h"

#include "editor/prompter.h"
#include "support/error.h"
#include "support/qt/regwrap.h"

#include <QUuid>

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

std::string SystemLoginName() {
    for (const char* variable : {"USER", "LOGNAME"})
        if (const char* value = std::getenv(variable); value != nullptr && value[0] != '\0')
            return value;
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_name != nullptr)
        return entry->pw_name;
    return {};
}

std::string NewUserID(const std::string& name) {
    return QUuid::createUuid().toString(QUuid::WithBraces).toUpper().toStdString() + " " + name;
}

std::string ObtainUserID(TRegWrap& settings, Prompter& prompter,
                         const std::function<std::string()>& loginName, std::string* storeFailure) {
    std::string userID;
    try {
        userID = settings.ReadValue("UserID", "");
    } catch (const AppError& error) {
        if (storeFailure == nullptr)
            throw;
        *storeFailure = error.what();
    }
    if (!userID.empty())
        return userID;
    std::string name = loginName ? loginName() : SystemLoginName();
    if (name.empty())
        name = prompter.InputText("Enter your name...", "Please enter your name:", "").value_or("");
    if (name.empty())
        name = "Anonymous";
    userID = NewUserID(name);
    try {
        settings.WriteValue("UserID", userID);
    } catch (const AppError& error) {
        if (storeFailure == nullptr)
            throw;
        if (storeFailure->empty())
            *storeFailure = error.what();
    }
    return userID;
}
