#pragma once

#include <QColor>

#include <memory>

class QWidget;

namespace zt {

class all_list;
class JobControl;
struct SessionState;
class TFPrint;
class UserInterface;
struct Settings;
namespace views {
class ProgramList;
}

// The day page's print command: opens the print window on the rows the page shows, with only
// the page break of the page's grouping offered and the zoom at "100%", and afterwards puts
// the print options back into the settings (the caller saves them).
class PrintCommand final {
public:
    // The session is busy (ui_idle 0) while the window is open.
    PrintCommand(SessionState& session, UserInterface* ui, JobControl* jobs, QWidget* parent);
    ~PrintCommand();

    void run(const views::ProgramList& rows, all_list& store, Settings& settings, bool by_day,
             bool abbreviations);
    TFPrint& window() const { return *m_window; }

private:
    SessionState& m_session;
    std::unique_ptr<TFPrint> m_window;
    bool m_one_line = false;  // "В одну строку" lasts for the session only
    QColor m_font_colour = QColor(Qt::black);  // the print font's colour, not stored
};

}  // namespace zt
