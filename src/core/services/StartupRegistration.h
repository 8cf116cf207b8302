#pragma once

// Starting the program when the user's session starts. Standard library only,
// like the dial-up service, so platform backends need no Qt.

#include <expected>
#include <string>

class StartupRegistration {
public:
    virtual ~StartupRegistration() = default;
    // Registers the program (full path, UTF-8) or removes the registration;
    // removing one that does not exist is no error. The error is the system's text.
    [[nodiscard]] virtual std::expected<void, std::string> apply(bool runAtStartup, const std::string &programPath) = 0;
};
