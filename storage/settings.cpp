#include "storage/settings.h"

#include <algorithm>

namespace zt {
namespace {

// Reads keys of one section into the model. A missing key, or one that is not a number
// where a number is due, leaves the member as it is: load_group first sets every member whose
// default is fixed back to that default, so only the "current" ones keep their value.
class Reader final {
public:
    explicit Reader(const IniFile& ini) : m_ini(ini) {}
    void section(std::string_view name) { m_section = name; }
    void integer(std::string_view key, int& v) { v = int(m_ini.read_int(m_section, key, v)); }
    void flag(std::string_view key, bool& v) { v = m_ini.read_bool(m_section, key, v); }
    void text(std::string_view key, std::string& v) { v = m_ini.read_string(m_section, key, v); }
    void decoration(std::string_view key, std::string& v) {
        if (auto stored = m_ini.value(m_section, key)) v = decoration_from_file(*stored);
    }
    void icon_size(std::string_view key, int& v) {
        v = normalize_icon_size(int(m_ini.read_int(m_section, key, v)));
    }
    void columns(std::vector<int>& widths) {
        for (std::size_t i = 0; i < widths.size(); ++i) integer("C" + std::to_string(i), widths[i]);
    }
    void geometry(Geometry& g) {
        integer("W", g.width);
        integer("H", g.height);
        integer("T", g.top);
        integer("L", g.left);
    }

private:
    const IniFile& m_ini;
    std::string m_section;
};

// Writes the model's members under their keys.
class Writer final {
public:
    explicit Writer(IniFile& ini) : m_ini(ini) {}
    void section(std::string_view name) { m_section = name; }
    void integer(std::string_view key, const int& v) { m_ini.write_int(m_section, key, v); }
    void flag(std::string_view key, const bool& v) { m_ini.write_bool(m_section, key, v); }
    void text(std::string_view key, const std::string& v) { m_ini.write_string(m_section, key, v); }
    void decoration(std::string_view key, const std::string& v) {
        m_ini.write_string(m_section, key, decoration_to_file(v));
    }
    void icon_size(std::string_view key, const int& v) { integer(key, v); }
    void columns(const std::vector<int>& widths) {
        for (std::size_t i = 0; i < widths.size(); ++i) integer("C" + std::to_string(i), widths[i]);
    }
    void geometry(const Geometry& g) {
        integer("W", g.width);
        integer("H", g.height);
        integer("T", g.top);
        integer("L", g.left);
    }

private:
    IniFile& m_ini;
    std::string m_section;
};

// Each visit_* lists one group's sections in file order with the key of every member. `S` is
// Settings (loading) or const Settings (saving).

template <class S, class F>
void visit_layout(S& s, F& f) {
    f.section("WM");
    f.integer("W", s.main_window.width);
    f.integer("H", s.main_window.height);
    f.integer("T", s.main_window.top);
    f.integer("L", s.main_window.left);
    f.integer("S", s.main_window.state);

    f.section("WPU");
    f.flag("CH", s.side_panel.show_channels);
    f.flag("TY", s.side_panel.show_types);
    f.flag("HL", s.side_panel.pos_left);
    f.flag("HR", s.side_panel.pos_right);
    f.flag("HU", s.side_panel.pos_up);
    f.flag("HD", s.side_panel.pos_down);
    f.geometry(s.side_panel.geometry);

    f.section("WPC");
    f.geometry(s.channel_panel.geometry);
    f.flag("F", s.channel_panel.detailed);
    f.columns(s.channel_panel.columns);
    f.icon_size("S", s.channel_panel.icon_size);

    f.section("WPT");
    f.geometry(s.genre_panel.geometry);
    f.flag("F", s.genre_panel.detailed);
    f.icon_size("S", s.genre_panel.icon_size);

    f.section("WPP");
    f.geometry(s.pages.geometry);
    f.icon_size("S", s.pages.icon_size);
    for (int page = 0; page < ProgramPagesSettings::page_count; ++page) {
        f.section("WPP" + std::to_string(page + 1));
        f.columns(s.pages.columns[std::size_t(page)]);
    }

    f.section("CHP");
    f.flag("O", s.program_view.show_past);
    f.flag("T", s.program_view.letter_abbrev);

    f.section("CHA");
    f.flag("ON", s.alarm_switches.enabled);
    f.flag("W", s.alarm_switches.window);
    f.flag("S", s.alarm_switches.sound);
    f.flag("T", s.alarm_switches.tray);
    f.flag("O", s.alarm_switches.osd);
    f.flag("A", s.alarm_switches.all_programmes);

    f.section("CHU");
    f.integer("T", s.download_dialog.user_type);
    f.flag("S", s.download_dialog.save_login);

    f.section("CHD");
    f.flag("A", s.download.auto_download);
    f.flag("T", s.download.announcements);

    f.section("CGR");
    f.integer("C", s.channel_group.current);
}

template <class S, class F>
void visit_general_tab(S& s, F& f) {
    f.section("GG");
    f.integer("CM", s.general.monitor);
    f.integer("MS", s.general.mouse_speed);
    f.flag("CTG", s.general.table_grid);
    f.flag("CMF", s.general.mouse_focus);
    f.flag("CLC", s.general.channel_logos);
    f.flag("CIT", s.general.type_icons);
    f.flag("CLA", s.general.love_alarm);
    f.flag("CTM", s.general.tray_minimize);
    f.flag("CTS", s.general.tray_start);
    f.flag("CSP", s.general.quiet_start);
    f.flag("CVD", s.general.view_date);
    f.flag("CTI", s.general.tray_icon);
    // "Сверять локальное и серверное время" is a choice of the user like the others; it is
    // kept here so that it survives a restart.
    f.flag("CVT", s.general.verify_time);
}

template <class S, class F>
void visit_proxy_tab(S& s, F& f) {
    f.section("GP");
    f.flag("CI", s.proxy.from_browser);
    f.flag("CP", s.proxy.use_proxy);
    f.text("ES", s.proxy.server);
    f.text("EP", s.proxy.port);
    f.text("EU", s.proxy.user);
    f.text("ED", s.proxy.password);
}

template <class S, class F>
void visit_personal_tab(S& s, F& f) {
    f.section("GU");
    f.decoration("D1", s.personal.descr_left);
    f.decoration("D2", s.personal.descr_right);
    f.flag("AS", s.personal.auto_quiet);
    f.flag("SP", s.personal.auto_on_start);
    f.flag("AD", s.personal.auto_daily);
    f.flag("MS", s.personal.auto_tray_msg);
    f.flag("RC", s.personal.rating_alarm);
    f.text("ES", s.personal.auto_delay);
    f.text("ET", s.personal.auto_time);
    f.text("RP", s.personal.rating_threshold);
    f.integer("SD", s.personal.day_start);
    f.text("BC", s.personal.menu_break);
    // The keep period of favourites ("Любимые и не любимые передачи") is kept here so that
    // the user's choice survives a restart.
    f.integer("CL", s.personal.love_keep);
}

template <class S, class F>
void visit_view_tab(S& s, F& f) {
    f.section("GV");
    f.integer("C1", s.view.text);
    f.integer("C2", s.view.back);
    f.integer("C3", s.view.focus);
    f.integer("C4", s.view.select1);
    f.integer("C5", s.view.select2);
    f.integer("C6", s.view.end);
    f.integer("C7", s.view.old);
    f.integer("C8", s.view.current);
    f.integer("C9", s.view.love_no);
    f.integer("C10", s.view.mark);
    f.integer("C11", s.view.love_yes);
    f.integer("C12", s.view.alarm);
    f.text("F1", s.view.font_name);
    f.integer("F2", s.view.font_size);
    f.flag("F3", s.view.font_bold);
    f.flag("F4", s.view.font_italic);
}

constexpr std::string_view service_section = "ZORVAN";
constexpr std::string_view service_key = "HOST";

template <class S, class F>
void visit_reminders(S& s, F& f) {
    f.section("AG");
    f.integer("CS", s.alarm_general.show);
    f.integer("CH", s.alarm_general.hide);
    f.integer("CT", s.alarm_general.tray);
    f.text("EPS", s.alarm_general.prog_start);
    f.text("EPP", s.alarm_general.prog_param);
    f.integer("CPP", s.alarm_general.prog_window);
    f.integer("WW", s.alarm_general.window_width);
    f.integer("WH", s.alarm_general.window_height);

    f.section("AW");
    f.integer("CS", s.alarm_window.size);
    f.flag("CB", s.alarm_window.bold);
    f.integer("CP1", s.alarm_window.pos1);
    f.integer("CP2", s.alarm_window.pos2);
    f.integer("CM", s.alarm_window.monitor);
    f.integer("CAL", s.alarm_window.alpha);
    f.integer("CAN", s.alarm_window.anim);

    f.section("AS");
    f.integer("CS", s.alarm_sound.name);
    f.text("EF", s.alarm_sound.file);
    f.flag("CE", s.alarm_sound.stop_at_end);

    f.section("AO");
    f.integer("CO", s.alarm_osd.out);
    f.flag("CA", s.alarm_osd.alpha);
    f.integer("CS", s.alarm_osd.size);
    f.flag("CB", s.alarm_osd.bold);
    f.integer("CP1", s.alarm_osd.pos1);
    f.integer("CP2", s.alarm_osd.pos2);
    f.integer("CM", s.alarm_osd.monitor);
    f.integer("CTE", s.alarm_osd.text);
    f.integer("CBK", s.alarm_osd.back);
}

template <class M, class F>
void visit_mark(M& m, F& f, const std::string& n) {
    f.flag("MC" + n, m.on);
    f.text("ME" + n, m.symbols);
    f.integer("MS" + n, m.colour);
}

template <class S, class F>
void visit_printing(S& s, F& f) {
    f.section("PP");
    f.integer("CLR", s.print_page.colour_mode);
    f.text("F1", s.print_page.font_name);
    f.integer("F2", s.print_page.font_size);
    f.flag("F3", s.print_page.font_bold);
    f.flag("F4", s.print_page.font_italic);
    f.text("ML", s.print_page.margin_left);
    f.text("MR", s.print_page.margin_right);
    f.text("MT", s.print_page.margin_top);
    f.text("MB", s.print_page.margin_bottom);
    f.flag("PN", s.print_page.page_numbers);
    f.flag("DP", s.print_page.merge_parts);
    f.flag("CS", s.print_page.colour_symbols);
    visit_mark(s.print_page.love_no, f, "1");
    visit_mark(s.print_page.mark, f, "2");
    visit_mark(s.print_page.love_yes, f, "3");
    visit_mark(s.print_page.alarm, f, "4");

    f.section("PC");
    f.text("CN", s.print_columns.count);
    f.text("CS", s.print_columns.gap);
    f.flag("CL", s.print_columns.line);
    f.flag("ND", s.print_columns.new_day);
    f.flag("NC", s.print_columns.new_channel);
    f.flag("HND1", s.print_columns.day_heading);
    f.integer("HND2", s.print_columns.day_heading_colour);
    f.flag("HNC1", s.print_columns.channel_heading);
    f.integer("HNC2", s.print_columns.channel_heading_colour);

    f.section("PS");
    f.flag("SC", s.print_line.channel);
    f.flag("TS1", s.print_line.start_time);
    f.integer("TS2", s.print_line.start_form);
    f.flag("MT1", s.print_line.mark_time);
    f.integer("MT2", s.print_line.mark_time_colour);
    f.flag("TF1", s.print_line.finish_time);
    f.integer("TF2", s.print_line.finish_form);
    f.flag("SL", s.print_line.length);
    f.flag("SR", s.print_line.rating);
    f.flag("TI", s.print_line.type_icons);
    f.flag("SS", s.print_line.split);
    f.text("SZ", s.print_line.max_length);
}

// The four positions of the side panel are one radio group: the last one found set wins, and
// with none set the panel goes to the left as on a first start.
void settle_side_panel(SidePanelSettings& p) {
    bool* items[] = {&p.pos_left, &p.pos_right, &p.pos_up, &p.pos_down};
    bool* chosen = nullptr;
    for (bool* item : items) {
        if (*item) chosen = item;
    }
    if (!chosen) chosen = &p.pos_left;
    for (bool* item : items) *item = item == chosen;
}

// A page break before each day (channel) needs the day (channel) heading; one-line mode needs
// word wrapping.
void settle_print(Settings& s) {
    if (s.print_columns.new_day) s.print_columns.day_heading = true;
    if (s.print_columns.new_channel) s.print_columns.channel_heading = true;
    if (s.print_line.one_line) s.print_line.split = true;
}

// Sets the members of one group back to their fixed defaults. Members whose default is the
// window's current value (panel and page geometry, column widths, icon sizes, the table font)
// keep what they hold.
void reset_to_defaults(Settings& s, SettingsGroup group) {
    const Settings d;
    switch (group) {
        case SettingsGroup::layout: {
            const Settings current = s;
            s.main_window = d.main_window;
            s.side_panel = d.side_panel;
            s.side_panel.geometry = current.side_panel.geometry;
            s.channel_panel.detailed = d.channel_panel.detailed;
            s.genre_panel.detailed = d.genre_panel.detailed;
            s.program_view = d.program_view;
            s.alarm_switches = d.alarm_switches;
            s.download_dialog = d.download_dialog;
            s.download = d.download;
            s.channel_group = d.channel_group;
            break;
        }
        case SettingsGroup::general: {
            const ViewSettings current = s.view;
            s.general = d.general;
            s.proxy = d.proxy;
            s.personal = d.personal;
            s.view = d.view;
            s.view.font_name = current.font_name;
            s.view.font_size = current.font_size;
            s.service = d.service;
            break;
        }
        case SettingsGroup::reminders:
            s.alarm_general = d.alarm_general;
            s.alarm_window = d.alarm_window;
            s.alarm_sound = d.alarm_sound;
            s.alarm_osd = d.alarm_osd;
            break;
        case SettingsGroup::printing: {
            // "В одну строку" is a choice of the session, never stored.
            const bool one_line = s.print_line.one_line;
            s.print_page = d.print_page;
            s.print_columns = d.print_columns;
            s.print_line = d.print_line;
            s.print_line.one_line = one_line;
            break;
        }
    }
}

}  // namespace

void Settings::load_group(const IniFile& ini, SettingsGroup group) {
    reset_to_defaults(*this, group);
    Reader r(ini);
    switch (group) {
        case SettingsGroup::layout:
            visit_layout(*this, r);
            settle_side_panel(side_panel);
            break;
        case SettingsGroup::general:
            visit_general_tab(*this, r);
            visit_proxy_tab(*this, r);
            visit_personal_tab(*this, r);
            visit_view_tab(*this, r);
            // The proxy taken from the desktop replaces the manual one.
            if (proxy.from_browser) proxy.use_proxy = false;
            service.host = ini.read_string(service_section, service_key, service.host);
            break;
        case SettingsGroup::reminders:
            visit_reminders(*this, r);
            break;
        case SettingsGroup::printing:
            visit_printing(*this, r);
            settle_print(*this);
            break;
    }
}

void Settings::put_group(IniFile& ini, SettingsGroup group) const {
    Writer w(ini);
    switch (group) {
        case SettingsGroup::layout:
            visit_layout(*this, w);
            break;
        case SettingsGroup::general:
            visit_general_tab(*this, w);
            visit_personal_tab(*this, w);
            visit_proxy_tab(*this, w);
            visit_view_tab(*this, w);
            // The server override is optional: it is written once it is set or changed.
            if (ini.has_key(service_section, service_key) ||
                service.host != ServiceSettings::default_host) {
                ini.write_string(service_section, service_key, service.host);
            }
            break;
        case SettingsGroup::reminders:
            visit_reminders(*this, w);
            break;
        case SettingsGroup::printing:
            visit_printing(*this, w);
            break;
    }
}

void Settings::save_group(IniFile& ini, SettingsGroup group) const {
    const IniFile before = ini;
    try {
        put_group(ini, group);
        ini.save();
    } catch (...) {
        ini = before;
        throw;
    }
}

void Settings::load_all(const IniFile& ini) {
    for (auto g : {SettingsGroup::layout, SettingsGroup::general, SettingsGroup::reminders,
                   SettingsGroup::printing}) {
        load_group(ini, g);
    }
}

void Settings::save_all(IniFile& ini) const {
    const IniFile before = ini;
    try {
        for (auto g : {SettingsGroup::layout, SettingsGroup::general, SettingsGroup::reminders,
                       SettingsGroup::printing}) {
            put_group(ini, g);
        }
        ini.save();
    } catch (...) {
        ini = before;
        throw;
    }
}

const OptionTable<int, 3> kMouseSpeeds({{{50, "Медленная"}, {20, "Обычная"}, {2, "Быстрая"}}}, 2);
const OptionTable<int, 3> kLoveKeeps({{{30, "Удалять старше 30 дней"},
                                       {90, "Удалять старше 90 дней"},
                                       {180, "Удалять старше 180 дней"}}},
                                     1);

MaintenanceOptions maintenance_options(const Settings& settings) {
    MaintenanceOptions o;
    o.alarm_on_liked = settings.general.love_alarm;
    o.love_keep_days = love_keep_days(settings.personal.love_keep);
    o.rating_alarm = settings.personal.rating_alarm;
    o.rating_threshold = settings.personal.rating_threshold;
    return o;
}

int normalize_icon_size(int size) {
    return size == 32 || size == 24 ? size : 16;
}

int monitor_index(int stored, int monitor_count) {
    return stored >= 0 && stored < monitor_count ? stored : 0;
}

std::string day_start_text(int item) {
    if (item < 0 || item > 23) item = 0;
    return std::string(1, char('0' + item / 10)) + char('0' + item % 10) + ":00";
}

std::string decoration_to_file(std::string_view text) {
    // Blanks and anything that would break the line are written as "$", so the text reads
    // back the same (the profile reader trims blanks at both ends).
    std::string out(text);
    for (char& c : out)
        if (c == ' ' || c == '\r' || c == '\n' || c == '\0') c = '$';
    return out;
}

std::string decoration_from_file(std::string_view text) {
    std::string out(text);
    std::replace(out.begin(), out.end(), '$', ' ');
    return out;
}

}  // namespace zt
