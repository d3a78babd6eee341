#pragma once
// The one exception type of the program: a failure that carries a message for the user.
// Commands do not catch it; the GUI's top level shows the message in an error box and goes on.
#include <stdexcept>
#include <string>

class AppError : public std::runtime_error {
public:
    explicit AppError(const std::string& message) : std::runtime_error(message) {}
};
