#pragma once

#include <QString>
#include <QStringList>
#include <string>

namespace zt::reminders {

// The external program of a reminder ("Запускать:" with "с параметрами:"): the path and the
// parameters as a shell would split them (quotes group words), without any shell.
struct ProgramCommand final {
    QString program;
    QStringList arguments;
};

// `program` and `params` as the settings keep them (CP1251).
ProgramCommand program_command(const std::string& program, const std::string& params);

// Starts the program detached from this one; false when it could not be started (an empty
// path, a missing or not executable file). Callers ignore the result as a reminder must not
// fail because of it.
bool start_program_detached(const ProgramCommand& command);

}  // namespace zt::reminders
