#include <QCommandLineParser>
#include <QStringList>
#include <cstdio>
#include <iostream>
#include <stdexcept>

#include "app/logic/memory_tuning.h"
#include "app/logic/russian_locale.h"
#include "command.h"

namespace zt::cli {

std::map<std::string, Command>& commands() {
    static std::map<std::string, Command> all;
    return all;
}

Options::Options(const std::string& command, const std::vector<Option>& options,
                 const std::vector<std::string>& args) {
    QCommandLineParser parser;
    // Every option is a long one; a single dash does not start a bundle of letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const Option& o : options) {
        const QString name = QString::fromStdString(o.name);
        parser.addOption(o.value ? QCommandLineOption(name, QString(), name)
                                 : QCommandLineOption(name));
    }
    QStringList list{QStringLiteral("zorvan-cli")};
    for (const std::string& a : args) list << QString::fromStdString(a);
    if (!parser.parse(list)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty())
            throw std::invalid_argument(command + " has no option --" +
                                        unknown.first().toStdString());
        throw std::invalid_argument(command + ": " + parser.errorText().toStdString());
    }
    for (const Option& o : options) {
        const QString name = QString::fromStdString(o.name);
        if (parser.isSet(name)) m_values[o.name] = o.value ? parser.value(name).toStdString() : "";
    }
    for (const QString& p : parser.positionalArguments()) m_positional.push_back(p.toStdString());
}

bool Options::has(const std::string& name) const {
    return m_values.count(name) != 0;
}

std::string Options::get(const std::string& name, const std::string& def) const {
    auto it = m_values.find(name);
    return it == m_values.end() ? def : it->second;
}

}  // namespace zt::cli

int main(int argc, char** argv) {
    using namespace zt::cli;
    if (argc < 2 || !commands().count(argv[1])) {
        std::cerr << "usage: zorvan-cli COMMAND ...\n";
        for (const auto& [name, cmd] : commands())
            std::cerr << "  zorvan-cli " << name << ' ' << cmd.usage << '\n';
        return 2;
    }
    const Command& command = commands()[argv[1]];
    // The allocator as the program uses it, so the commands load and save as it does.
    zt::tune_allocator(false);
    // The printed dates are the program's: Russian whatever the terminal's locale.
    zt::use_russian_locale();
    try {
        const Options opt(argv[1], command.options,
                          std::vector<std::string>(argv + 2, argv + argc));
        return command.run(opt);
    } catch (const std::exception& e) {
        std::cerr << "zorvan-cli: " << e.what() << '\n';
        return 1;
    }
}
