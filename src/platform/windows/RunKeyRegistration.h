#pragma once

#include "core/services/StartupRegistration.h"

#include <string>

// Start-up registration in a Run key of the Windows registry: a string value
// holding the program's command line. The key is opened, never created.
class RunKeyRegistration final : public StartupRegistration {
public:
    enum class Hive { LocalMachine, CurrentUser };

    // The machine-wide Run key, value "Dialtally".
    RunKeyRegistration();
    // `keyPath` below the hive's root, with backslashes; UTF-8 like the value name.
    RunKeyRegistration(Hive hive, std::string keyPath, std::string valueName);

    std::expected<void, std::string> apply(bool runAtStartup, const std::string &programPath) override;

private:
    Hive m_hive;
    std::string m_keyPath;
    std::string m_valueName;
};
