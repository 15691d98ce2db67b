#include "print/print_command.h"

#include "app/logic/session_state.h"
#include "core/store.h"
#include "net/host_port.h"
#include "print/print_window.h"
#include "storage/settings.h"
#include "views/logic/program_list.h"

namespace zt {

PrintCommand::PrintCommand(SessionState& session, UserInterface* ui, JobControl* jobs,
                           QWidget* parent)
    : m_session(session), m_window(std::make_unique<TFPrint>(ui, jobs, parent)) {}

PrintCommand::~PrintCommand() = default;

void PrintCommand::run(const views::ProgramList& list, all_list& store, Settings& settings,
                       bool by_day, bool abbreviations) {
    const UiBusy busy(m_session);  // holds automatic downloads back while the window is open
    std::vector<print::PrintRow> rows;
    rows.reserve(list.size());
    for (const auto& r : list.rows())
        rows.push_back({r.prog, r.member, r.start, r.finish, r.duration_text});
    print::PrintContext context;
    context.by_day = by_day;
    context.abbreviations = abbreviations;
    context.day_names = store.day_names;
    context.fs_view = store.fs_view;
    context.week_cur = store.week_cur;
    context.host = QString::fromStdString(service_host(settings).host);

    print::PrintOptions options = print::print_options_from_settings(settings);
    options.one_line = m_one_line;
    options.font_colour = m_font_colour;
    options.new_day_enabled = by_day;
    options.new_channel_enabled = !by_day;
    m_window->set_document(std::move(rows), std::move(context));
    m_window->set_options(options);
    m_window->set_zoom(2);
    m_window->BuildPreview();
    m_window->exec();

    m_one_line = m_window->options().one_line;
    m_font_colour = m_window->options().font_colour;
    print::store_print_options(m_window->options(), settings);
    m_window->set_document({}, {});
}

}  // namespace zt
