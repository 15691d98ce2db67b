#include "reminders/logic/program_start.h"

#include <QProcess>

#include "core/cp1251.h"

namespace zt::reminders {

ProgramCommand program_command(const std::string& program, const std::string& params) {
    ProgramCommand c;
    c.program = QString::fromStdString(to_utf8(program));
    c.arguments = QProcess::splitCommand(QString::fromStdString(to_utf8(params)));
    return c;
}

bool start_program_detached(const ProgramCommand& command) {
    if (command.program.isEmpty()) return false;
    return QProcess::startDetached(command.program, command.arguments);
}

}  // namespace zt::reminders
