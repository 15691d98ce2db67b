#include "views/prog_controls.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QStyle>

#include "ui/cp_text.h"
#include "ui/image_lists.h"
#include "views/logic/prog_page_rules.h"

namespace zt {
namespace {

// Qt menus have no column breaks: an item that starts a new column gets a separator before
// it, which keeps the same grouping in one column.
void add_items(QMenu& menu, const std::vector<views::PopupItem>& items,
               const std::function<void(int)>& on_click) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].column && i > 0) menu.addSeparator();
        QAction* a = menu.addAction(QString::fromStdString(items[i].caption));
        QObject::connect(a, &QAction::triggered, &menu, [on_click, i] { on_click(int(i)); });
    }
}

QLabel* label(const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    return l;
}

QToolButton* tool_button(const char* name, const QString& hint, const char* icon, QWidget* parent) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(hint);
    b->setAccessibleName(hint);  // the button shows a picture only
    b->setIcon(view_icon(icon));
    b->setAutoRaise(false);
    b->setFocusPolicy(Qt::TabFocus);
    return b;
}

QHBoxLayout* row_layout(QWidget* w) {
    auto* l = new QHBoxLayout(w);
    l->setContentsMargins(2, 2, 2, 2);
    l->setSpacing(4);
    return l;
}

}  // namespace

// --- LeaveEdit

LeaveEdit::LeaveEdit(const QString& mask, const QString& text, QWidget* parent)
    : QLineEdit(parent) {
    setInputMask(mask);
    setText(text);
    const int w = fontMetrics().horizontalAdvance(QStringLiteral("00:00")) + 16;
    setFixedWidth(w);
}

std::string LeaveEdit::edit_text() const {
    QString t = displayText();
    // The blank character of the masks is shown for unfilled positions.
    const QString mask = inputMask();
    const int semi = mask.lastIndexOf(QLatin1Char(';'));
    if (semi >= 0 && semi + 1 < mask.size()) t.replace(mask.at(semi + 1), QLatin1Char(' '));
    return t.toStdString();
}

void LeaveEdit::set_edit_text(const std::string& text) {
    setText(QString::fromStdString(text));
}

void LeaveEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    emit left();
}

void LeaveEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit left();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

// --- MenuButton

MenuButton::MenuButton(QMenu* menu, QWidget* parent) : QToolButton(parent), m_menu(menu) {
    setText(QStringLiteral("..."));
    setFocusPolicy(Qt::TabFocus);
}

void MenuButton::open_at(const QPoint& global) {
    m_last = global;
    m_menu->popup(global);
}

void MenuButton::mouseReleaseEvent(QMouseEvent* event) {
    QToolButton::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        open_at(event->globalPosition().toPoint());
}

void MenuButton::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        open_at(mapToGlobal(QPoint(0, 0)));
        return;
    }
    QToolButton::keyPressEvent(event);
}

// --- "Скоро"

SoonPageControls::SoonPageControls(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PanelNext"));
    auto* l = row_layout(this);
    EditNextTimeStart = new LeaveEdit(QStringLiteral("00:00;-"), QStringLiteral("00:00"), this);
    EditNextTimeStart->setObjectName(QStringLiteral("EditNextTimeStart"));
    EditNextTimeFinish = new LeaveEdit(QStringLiteral("00:00;-"), QStringLiteral("03:00"), this);
    EditNextTimeFinish->setObjectName(QStringLiteral("EditNextTimeFinish"));
    EditNextLine = new LeaveEdit(QStringLiteral("00; "), QStringLiteral("5"), this);
    EditNextLine->setObjectName(QStringLiteral("EditNextLine"));
    EditNextLine->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("00")) + 16);
    ComboBoxNextType = new QComboBox(this);
    ComboBoxNextType->setObjectName(QStringLiteral("ComboBoxNextType"));
    ComboBoxNextType->addItems({QStringLiteral("Смещение от текущего времени"),
                                QStringLiteral("Смещение от конца текущей передачи"),
                                QStringLiteral("Без смещения")});
    ComboBoxNextType->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    ComboBoxNextType->setMinimumContentsLength(12);
    ComboBoxNextType->view()->setMinimumWidth(drop_down_width());

    PopupMenuProgNextStart = build_time_menu(EditNextTimeStart, "PopupMenuProgNextStart");
    PopupMenuProgNextFinish = build_time_menu(EditNextTimeFinish, "PopupMenuProgNextFinish");
    PopupMenuProgNextProfiles = build_profiles_menu();
    BitBtnNextTimeStart = new MenuButton(PopupMenuProgNextStart, this);
    BitBtnNextTimeStart->setObjectName(QStringLiteral("BitBtnNextTimeStart"));
    BitBtnNextTimeFinish = new MenuButton(PopupMenuProgNextFinish, this);
    BitBtnNextTimeFinish->setObjectName(QStringLiteral("BitBtnNextTimeFinish"));
    BitBtnNextTimeProfiles = new MenuButton(PopupMenuProgNextProfiles, this);
    BitBtnNextTimeProfiles->setObjectName(QStringLiteral("BitBtnNextTimeProfiles"));
    BitBtnNextTimeProfiles->setText(QString());
    BitBtnNextTimeProfiles->setIcon(view_icon("profiles"));
    BitBtnNextTimeProfiles->setToolTip(QStringLiteral("Профили"));

    // The short captions beside the fields ("С", "до") say little on their own: each field and
    // button carries the full name a screen reader says.
    EditNextTimeStart->setAccessibleName(QStringLiteral("Начало: с"));
    EditNextTimeFinish->setAccessibleName(QStringLiteral("Начало: до"));
    EditNextLine->setAccessibleName(QStringLiteral("Передач на канал"));
    ComboBoxNextType->setAccessibleName(QStringLiteral("Смещение времени"));
    BitBtnNextTimeStart->setAccessibleName(QStringLiteral("Выбрать время начала"));
    BitBtnNextTimeFinish->setAccessibleName(QStringLiteral("Выбрать время конца"));
    BitBtnNextTimeProfiles->setAccessibleName(QStringLiteral("Профили"));
    l->addWidget(label(QStringLiteral("С"), this));
    l->addWidget(EditNextTimeStart);
    l->addWidget(BitBtnNextTimeStart);
    l->addWidget(label(QStringLiteral("до"), this));
    l->addWidget(EditNextTimeFinish);
    l->addWidget(BitBtnNextTimeFinish);
    l->addWidget(label(QStringLiteral("по"), this));
    l->addWidget(EditNextLine);
    l->addWidget(label(QStringLiteral("передач"), this));
    l->addWidget(ComboBoxNextType, 1);
    l->addWidget(BitBtnNextTimeProfiles);

    connect(EditNextTimeStart, &LeaveEdit::left, this, [this] {
        if (!views::time_edit_valid(EditNextTimeStart->edit_text())) {
            EditNextTimeStart->set_edit_text("00:00");
            ComboBoxNextType->setCurrentIndex(0);
        }
        emit changed();
    });
    connect(EditNextTimeFinish, &LeaveEdit::left, this, [this] {
        if (!views::time_edit_valid(EditNextTimeFinish->edit_text())) {
            EditNextTimeFinish->set_edit_text("03:00");
            ComboBoxNextType->setCurrentIndex(0);
        }
        emit changed();
    });
    connect(EditNextLine, &LeaveEdit::left, this, [this] {
        EditNextLine->set_edit_text(views::leave_count_edit(EditNextLine->edit_text()));
        emit changed();
    });
    connect(ComboBoxNextType, &QComboBox::activated, this, [this] { emit changed(); });
}

int SoonPageControls::drop_down_width() const {
    QFont f = ComboBoxNextType->font();
    f.setPointSize(8);
    const QFontMetrics fm(f);
    int widest = 0;
    for (int i = 0; i < ComboBoxNextType->count(); ++i)
        widest = std::max(widest, fm.horizontalAdvance(ComboBoxNextType->itemText(i)));
    return widest + style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 5;
}

QMenu* SoonPageControls::build_time_menu(LeaveEdit* edit, const char* name) {
    auto* menu = new QMenu(this);
    menu->setObjectName(QString::fromLatin1(name));
    const QString captions[3] = {QStringLiteral("Смещение от текущего времени"),
                                 QStringLiteral("Смещение от конца текущей передачи"),
                                 QStringLiteral("Без смещения")};
    for (int kind = 0; kind < 3; ++kind) {
        QMenu* sub = menu->addMenu(captions[kind]);
        const auto items = views::soon_time_items(kind);
        add_items(*sub, items, [this, edit, kind, items](int i) {
            edit->set_edit_text(items[std::size_t(i)].caption);
            ComboBoxNextType->setCurrentIndex(kind);
            emit changed();
        });
    }
    return menu;
}

QMenu* SoonPageControls::build_profiles_menu() {
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("PopupMenuProgNextProfiles"));
    const QString captions[3] = {QStringLiteral("В течении"), QStringLiteral("Ближайшие передачи"),
                                 QStringLiteral("Сегодня")};
    for (int s = 0; s < 3; ++s) {
        QMenu* sub = menu->addMenu(captions[s]);
        add_items(*sub, views::soon_profile_items(s), [this, s](int i) {
            const views::SoonProfile p = views::soon_profile(s, i);
            EditNextTimeStart->set_edit_text(p.start);
            EditNextTimeFinish->set_edit_text(p.finish);
            EditNextLine->set_edit_text(p.line);
            ComboBoxNextType->setCurrentIndex(p.kind);
            emit changed();
        });
    }
    return menu;
}

views::SoonControls SoonPageControls::values() const {
    views::SoonControls c;
    c.time_start = EditNextTimeStart->edit_text();
    c.time_finish = EditNextTimeFinish->edit_text();
    c.line = views::count_edit_value(EditNextLine->edit_text());
    c.offset_kind = views::SoonOffset(ComboBoxNextType->currentIndex());
    return c;
}

namespace {
const QString kDayNames[7] = {QStringLiteral("ПН"), QStringLiteral("ВТ"), QStringLiteral("СР"),
                              QStringLiteral("ЧТ"), QStringLiteral("ПТ"), QStringLiteral("СБ"),
                              QStringLiteral("ВС")};
}  // namespace

// --- "По дням"

DaysPageControls::DaysPageControls(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PanelDays"));
    // A pressed day stands out clearly from the others.
    setStyleSheet(
        QStringLiteral("QToolButton:checked { background-color: #b8d0f0; "
                       "border: 1px solid #5080c0; border-radius: 2px; }"));
    auto* l = row_layout(this);
    for (int d = 0; d < 7; ++d) {
        auto* b = new QToolButton(this);
        b->setObjectName(QStringLiteral("SpeedButtonDays%1").arg(d + 1));
        b->setText(kDayNames[d]);
        b->setCheckable(true);
        b->setFocusPolicy(Qt::TabFocus);
        b->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00.00")) + 8);
        if (d >= 5) {
            QFont f = b->font();
            f.setBold(true);
            b->setFont(f);
        }
        connect(b, &QToolButton::clicked, this, [this, d] { day_clicked(d); });
        SpeedButtonDays[std::size_t(d)] = b;
        l->addWidget(b);
    }
    l->setSpacing(2);
    l->addSpacing(6);
    SpeedButtonDaysSel = tool_button("SpeedButtonDaysSel", QStringLiteral("Выбор"), "multi", this);
    SpeedButtonDaysSel->setCheckable(true);
    connect(SpeedButtonDaysSel, &QToolButton::clicked, this,
            &DaysPageControls::selection_mode_clicked);
    SpeedButtonDaysGrp =
        tool_button("SpeedButtonDaysGrp", QStringLiteral("Группировать по дням"), "group", this);
    SpeedButtonDaysGrp->setCheckable(true);
    connect(SpeedButtonDaysGrp, &QToolButton::clicked, this, [this] { emit changed(); });
    l->addWidget(SpeedButtonDaysSel);
    l->addWidget(SpeedButtonDaysGrp);
    l->addSpacing(6);

    EditDaysTimeStart = new LeaveEdit(QStringLiteral("00:00;-"), QStringLiteral("00:00"), this);
    EditDaysTimeStart->setObjectName(QStringLiteral("EditDaysTimeStart"));
    EditDaysTimeFinish = new LeaveEdit(QStringLiteral("00:00;-"), QStringLiteral("00:00"), this);
    EditDaysTimeFinish->setObjectName(QStringLiteral("EditDaysTimeFinish"));
    auto time_menu = [this](LeaveEdit* edit, const char* name) {
        auto* menu = new QMenu(this);
        menu->setObjectName(QString::fromLatin1(name));
        const auto items = views::day_time_items();
        add_items(*menu, items, [this, edit, items](int i) {
            edit->set_edit_text(items[std::size_t(i)].caption);
            emit changed();
        });
        return menu;
    };
    PopupMenuProgDaysStart = time_menu(EditDaysTimeStart, "PopupMenuProgDaysStart");
    PopupMenuProgDaysFinish = time_menu(EditDaysTimeFinish, "PopupMenuProgDaysFinish");
    BitBtnDaysTimeStart = new MenuButton(PopupMenuProgDaysStart, this);
    BitBtnDaysTimeStart->setObjectName(QStringLiteral("BitBtnDaysTimeStart"));
    BitBtnDaysTimeFinish = new MenuButton(PopupMenuProgDaysFinish, this);
    BitBtnDaysTimeFinish->setObjectName(QStringLiteral("BitBtnDaysTimeFinish"));
    EditDaysTimeStart->setAccessibleName(QStringLiteral("Время дня: с"));
    EditDaysTimeFinish->setAccessibleName(QStringLiteral("Время дня: до"));
    BitBtnDaysTimeStart->setAccessibleName(QStringLiteral("Выбрать время дня с"));
    BitBtnDaysTimeFinish->setAccessibleName(QStringLiteral("Выбрать время дня до"));
    l->addWidget(label(QStringLiteral("С"), this));
    l->addWidget(EditDaysTimeStart);
    l->addWidget(BitBtnDaysTimeStart);
    l->addWidget(label(QStringLiteral("до"), this));
    l->addWidget(EditDaysTimeFinish);
    l->addWidget(BitBtnDaysTimeFinish);
    l->addStretch(1);
    BitBtnDaysPrint =
        tool_button("BitBtnDaysPrint", QStringLiteral("Распечатать таблицу"), "print", this);
    BitBtnDaysPrint->hide();
    connect(BitBtnDaysPrint, &QToolButton::clicked, this, [this] {
        if (m_print) m_print();
    });
    l->addWidget(BitBtnDaysPrint);

    connect(EditDaysTimeStart, &LeaveEdit::left, this, [this] {
        EditDaysTimeStart->set_edit_text(
            views::leave_time_edit(EditDaysTimeStart->edit_text(), "00:00"));
        emit changed();
    });
    connect(EditDaysTimeFinish, &LeaveEdit::left, this, [this] {
        EditDaysTimeFinish->set_edit_text(
            views::leave_time_edit(EditDaysTimeFinish->edit_text(), "23:59"));
        emit changed();
    });
}

void DaysPageControls::day_clicked(int day) {
    // Without "Выбор" the buttons form one group in which at most one is down.
    if (!SpeedButtonDaysSel->isChecked() && SpeedButtonDays[std::size_t(day)]->isChecked())
        for (int d = 0; d < 7; ++d)
            if (d != day) SpeedButtonDays[std::size_t(d)]->setChecked(false);
    emit changed();
}

void DaysPageControls::selection_mode_clicked() {
    if (!SpeedButtonDaysSel->isChecked())
        for (auto* b : SpeedButtonDays) b->setChecked(false);
    emit changed();
}

void DaysPageControls::press_day(int day) {
    if (day < 0 || day > 6) return;
    if (!SpeedButtonDaysSel->isChecked())
        for (auto* b : SpeedButtonDays) b->setChecked(false);
    SpeedButtonDays[std::size_t(day)]->setChecked(true);
}

void DaysPageControls::set_hints(const std::array<views::DayButtonText, 7>& texts) {
    for (int d = 0; d < 7; ++d) {
        QToolButton* b = SpeedButtonDays[std::size_t(d)];
        const auto& t = texts[std::size_t(d)];
        b->setToolTip(from_cp(t.hint));
        b->setText(kDayNames[d] + QLatin1Char('\n') + QString::fromLatin1(t.date_line));
    }
}

void DaysPageControls::set_day_start(const std::string& text) {
    EditDaysTimeStart->set_edit_text(text);
    EditDaysTimeFinish->set_edit_text(text);
}

void DaysPageControls::set_print_handler(std::function<void()> handler) {
    m_print = std::move(handler);
    BitBtnDaysPrint->setVisible(bool(m_print));
}

views::DaysControls DaysPageControls::values() const {
    views::DaysControls c;
    for (int d = 0; d < 7; ++d)
        c.days[std::size_t(d)] = SpeedButtonDays[std::size_t(d)]->isChecked();
    c.by_day = SpeedButtonDaysGrp->isChecked();
    c.time_start = EditDaysTimeStart->edit_text();
    c.time_finish = EditDaysTimeFinish->edit_text();
    return c;
}

// --- "Поиск"

FindPageControls::FindPageControls(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PanelFind"));
    auto* l = row_layout(this);
    EditFind = new QLineEdit(this);
    EditFind->setObjectName(QStringLiteral("EditFind"));
    EditFind->setMaxLength(255);
    ComboBoxFind = new QComboBox(this);
    ComboBoxFind->setObjectName(QStringLiteral("ComboBoxFind"));
    ComboBoxFind->addItems(
        {QStringLiteral("в названии"), QStringLiteral("в описании"), QStringLiteral("везде")});
    BitBtnFind = tool_button("BitBtnFind", QStringLiteral("Искать"), "find", this);
    EditFind->setAccessibleName(QStringLiteral("Строка поиска"));
    ComboBoxFind->setAccessibleName(QStringLiteral("Где искать"));
    l->addWidget(label(QStringLiteral("Строка:"), this));
    l->addWidget(EditFind, 1);
    l->addWidget(ComboBoxFind);
    l->addWidget(BitBtnFind);
    auto find = [this] {
        if (!EditFind->text().isEmpty()) emit find_requested();
    };
    connect(BitBtnFind, &QToolButton::clicked, this, find);
    connect(EditFind, &QLineEdit::returnPressed, this, find);
}

views::FindControls FindPageControls::values() const {
    views::FindControls c;
    c.text = to_cp(EditFind->text());
    c.mode = views::FindIn(ComboBoxFind->currentIndex());
    return c;
}

}  // namespace zt
