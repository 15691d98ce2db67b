#include "print/print_data_dialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QVBoxLayout>

namespace zt {
namespace {

// Margins and the column gap are kept in tenths of a millimetre (100 is 10 mm).
QString tenth_mm() {
    return QStringLiteral("× 0,1 мм");
}

QCheckBox* check(const QString& caption, const char* name, QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

// A number field: digits only, at most `digits` of them; leaving it rewrites it as its number.
QLineEdit* number(int digits, const char* name, QWidget* parent, bool at_least_one = false) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(digits);
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d*")), edit));
    edit->setMaximumWidth(60);
    QObject::connect(edit, &QLineEdit::editingFinished, edit, [edit, at_least_one] {
        int v = print::leading_number(edit->text().toStdString());
        if (at_least_one && v == 0) v = 1;
        edit->setText(QString::number(v));
    });
    return edit;
}

// A colour box keeps its colour in a property and shows it as its face.
void set_colour(QPushButton* button, const QColor& colour) {
    button->setProperty("colour", colour);
    button->setStyleSheet(QStringLiteral("background:%1").arg(colour.name()));
}

QColor colour_of(const QPushButton* button) {
    return button->property("colour").value<QColor>();
}

QPushButton* colour_button(const char* name, QWidget* parent) {
    auto* button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setFixedSize(40, 20);
    QObject::connect(button, &QPushButton::clicked, button, [button] {
        const QColor c = QColorDialog::getColor(colour_of(button), button);
        if (c.isValid()) set_colour(button, c);
    });
    return button;
}

QComboBox* time_forms(const char* name, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->addItems({QStringLiteral("только время"), QStringLiteral("время и дата"),
                   QStringLiteral("дата и время")});
    return box;
}

int number_of(const QLineEdit* edit) {
    return print::leading_number(edit->text().toStdString());
}

}  // namespace

TFPrintData::TFPrintData(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFPrintData"));
    setWindowTitle(QStringLiteral("Данные"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    auto* tabs = new QTabWidget(this);
    tabs->addTab(page_tab(), QStringLiteral("Страница"));
    tabs->addTab(columns_tab(), QStringLiteral("Колонки"));
    tabs->addTab(line_tab(), QStringLiteral("Строка"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);
    for (QCheckBox* box : {CheckBoxNewDay, CheckBoxNewChl, CheckBoxLongStr})
        connect(box, &QCheckBox::toggled, this, &TFPrintData::follow_dependencies);
}

TFPrintData::MarkRow TFPrintData::mark_row(const QString& caption, const char* name) {
    MarkRow row;
    row.on = check(caption, (std::string("CheckBoxMark") + name).c_str(), this);
    row.colour = colour_button((std::string("ColorBoxMark") + name).c_str(), this);
    row.symbols = new QLineEdit(this);
    row.symbols->setObjectName(QLatin1String("EditMark") + QLatin1String(name));
    row.symbols->setMaxLength(10);
    row.symbols->setMaximumWidth(80);
    return row;
}

QWidget* TFPrintData::page_tab() {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    const char* captions[] = {"Отступ слева:", "Отступ сверху:", "Отступ справа:", "Отступ снизу:"};
    const char* names[] = {"EditMargLeft", "EditMargTop", "EditMargRight", "EditMargBottom"};
    for (int i = 0; i < 4; ++i) {
        m_margins[i] = number(4, names[i], page);
        grid->addWidget(new QLabel(QString::fromUtf8(captions[i]), page), i / 2, (i % 2) * 3);
        grid->addWidget(m_margins[i], i / 2, (i % 2) * 3 + 1);
        grid->addWidget(new QLabel(tenth_mm(), page), i / 2, (i % 2) * 3 + 2);
    }
    m_page_numbers = check(QStringLiteral("Номера страниц"), "CheckBoxPageNum", page);
    m_merge = check(QStringLiteral("Объединять одинаковые передачи"), "CheckBoxDblProg", page);
    m_merge->setToolTip(QStringLiteral("Доступно только для платных пользователей"));
    grid->addWidget(m_page_numbers, 2, 0, 1, 6);
    grid->addWidget(m_merge, 3, 0, 1, 6);
    m_love_no = mark_row(QStringLiteral("Не любимые"), "LoveN");
    m_mark = mark_row(QStringLiteral("Маркер"), "Mark");
    m_love_yes = mark_row(QStringLiteral("Любимые"), "LoveY");
    m_alarm = mark_row(QStringLiteral("Оповещение"), "Alarm");
    int r = 4;
    for (const MarkRow* row : {&m_love_no, &m_mark, &m_love_yes, &m_alarm}) {
        grid->addWidget(row->on, r, 0, 1, 2);
        grid->addWidget(row->colour, r, 3);
        grid->addWidget(row->symbols, r, 4, 1, 2);
        ++r;
    }
    m_colour_symbols =
        check(QStringLiteral("Отметка символами при цветной печати"), "CheckBoxColorSymb", page);
    grid->addWidget(m_colour_symbols, r, 0, 1, 6);
    return page;
}

QWidget* TFPrintData::columns_tab() {
    auto* page = new QWidget(this);
    auto* form = new QGridLayout(page);
    EditColNum = number(2, "EditColNum", page, true);
    m_gap = number(3, "EditColSize", page);
    form->addWidget(new QLabel(QStringLiteral("Количество колонок:"), page), 0, 0);
    form->addWidget(EditColNum, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("Расстояние между колонками:"), page), 1, 0);
    form->addWidget(m_gap, 1, 1);
    form->addWidget(new QLabel(tenth_mm(), page), 1, 2);
    m_column_line = check(QStringLiteral("Разделять колонки линией"), "CheckBoxColLine", page);
    CheckBoxNewDay = check(QStringLiteral("Новый день с новой страницы"), "CheckBoxNewDay", page);
    CheckBoxNewChl = check(QStringLiteral("Новый канал с новой страницы"), "CheckBoxNewChl", page);
    CheckBoxNameDay = check(QStringLiteral("Шапка начала дня"), "CheckBoxNameDay", page);
    CheckBoxNameChl = check(QStringLiteral("Шапка начала канала"), "CheckBoxNameChl", page);
    m_day_colour = colour_button("ColorBoxNameDay", page);
    m_channel_colour = colour_button("ColorBoxNameChl", page);
    form->addWidget(m_column_line, 2, 0, 1, 3);
    form->addWidget(CheckBoxNewDay, 3, 0, 1, 3);
    form->addWidget(CheckBoxNewChl, 4, 0, 1, 3);
    form->addWidget(CheckBoxNameDay, 5, 0, 1, 2);
    form->addWidget(m_day_colour, 5, 2);
    form->addWidget(CheckBoxNameChl, 6, 0, 1, 2);
    form->addWidget(m_channel_colour, 6, 2);
    form->setRowStretch(7, 1);
    return page;
}

QWidget* TFPrintData::line_tab() {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    CheckBoxLongStr = check(QStringLiteral("В одну строку"), "CheckBoxLongStr", page);
    m_limit = number(3, "EditStrSize", page);
    auto* limit = new QHBoxLayout;
    limit->addWidget(new QLabel(QStringLiteral("Ограничить длину:"), page));
    limit->addWidget(m_limit);
    limit->addWidget(new QLabel(QStringLiteral("символами"), page));
    limit->addStretch();
    m_channel = check(QStringLiteral("Канал"), "CheckBoxStrChl", page);
    m_start = check(QStringLiteral("Начало"), "CheckBoxStrTimeStart", page);
    m_start_form = time_forms("ComboBoxStrTimeStart", page);
    m_finish = check(QStringLiteral("Конец"), "CheckBoxStrTimeFinish", page);
    m_finish_form = time_forms("ComboBoxStrTimeFinish", page);
    m_length = check(QStringLiteral("Длительность"), "CheckBoxStrLength", page);
    m_rating = check(QStringLiteral("Рейтинг"), "CheckBoxStrRaiting", page);
    m_icons = check(QStringLiteral("Значки типов передач"), "CheckBoxTypesIcon", page);
    CheckBoxStrSplit = check(QStringLiteral("Переносить по словам"), "CheckBoxStrSplit", page);
    m_mark_time = check(QStringLiteral("Выделять"), "CheckBoxMarkTime", page);
    m_mark_time_colour = colour_button("ColorBoxMarkTime", page);
    grid->addWidget(CheckBoxLongStr, 0, 0, 1, 3);
    grid->addLayout(limit, 1, 0, 1, 3);
    grid->addWidget(m_channel, 2, 0);
    grid->addWidget(m_start, 3, 0);
    grid->addWidget(m_start_form, 3, 1);
    grid->addWidget(m_mark_time, 3, 2);
    grid->addWidget(m_mark_time_colour, 3, 3);
    grid->addWidget(m_finish, 4, 0);
    grid->addWidget(m_finish_form, 4, 1);
    grid->addWidget(m_length, 5, 0);
    grid->addWidget(m_rating, 6, 0);
    grid->addWidget(m_icons, 7, 0, 1, 2);
    grid->addWidget(CheckBoxStrSplit, 8, 0, 1, 2);
    grid->setRowStretch(9, 1);
    return page;
}

// A page break needs its heading; one-line text always wraps.
void TFPrintData::follow_dependencies() {
    auto tie = [](QCheckBox* cause, QCheckBox* effect) {
        if (cause->isChecked() && cause->isEnabled()) effect->setChecked(true);
        effect->setEnabled(!(cause->isChecked() && cause->isEnabled()));
    };
    tie(CheckBoxNewDay, CheckBoxNameDay);
    tie(CheckBoxNewChl, CheckBoxNameChl);
    tie(CheckBoxLongStr, CheckBoxStrSplit);
}

void TFPrintData::set_options(const print::PrintOptions& o) {
    m_options = o;
    const int margins[] = {o.margin_left, o.margin_top, o.margin_right, o.margin_bottom};
    for (int i = 0; i < 4; ++i) m_margins[i]->setText(QString::number(margins[i]));
    m_page_numbers->setChecked(o.page_numbers);
    m_merge->setChecked(o.merge_parts);
    m_colour_symbols->setChecked(o.colour_symbols);
    auto put = [](const MarkRow& row, const print::PrintMarkOption& mark) {
        row.on->setChecked(mark.on);
        set_colour(row.colour, mark.colour);
        row.symbols->setText(mark.symbols);
    };
    put(m_love_no, o.love_no);
    put(m_mark, o.mark);
    put(m_love_yes, o.love_yes);
    put(m_alarm, o.alarm);
    EditColNum->setText(QString::number(o.columns));
    m_gap->setText(QString::number(o.gap));
    m_column_line->setChecked(o.column_line);
    CheckBoxNewDay->setEnabled(o.new_day_enabled);
    CheckBoxNewChl->setEnabled(o.new_channel_enabled);
    CheckBoxNewDay->setChecked(o.new_day);
    CheckBoxNewChl->setChecked(o.new_channel);
    CheckBoxNameDay->setChecked(o.day_heading);
    CheckBoxNameChl->setChecked(o.channel_heading);
    set_colour(m_day_colour, o.day_heading_colour);
    set_colour(m_channel_colour, o.channel_heading_colour);
    CheckBoxLongStr->setChecked(o.one_line);
    m_limit->setText(QString::number(o.max_length));
    m_channel->setChecked(o.channel);
    m_start->setChecked(o.start_time);
    m_start_form->setCurrentIndex(o.start_form);
    m_finish->setChecked(o.finish_time);
    m_finish_form->setCurrentIndex(o.finish_form);
    m_length->setChecked(o.length);
    m_rating->setChecked(o.rating);
    m_icons->setChecked(o.type_icons);
    CheckBoxStrSplit->setChecked(o.split);
    m_mark_time->setChecked(o.mark_time);
    set_colour(m_mark_time_colour, o.mark_time_colour);
    follow_dependencies();
}

print::PrintOptions TFPrintData::options() const {
    print::PrintOptions o = m_options;
    o.margin_left = number_of(m_margins[0]);
    o.margin_top = number_of(m_margins[1]);
    o.margin_right = number_of(m_margins[2]);
    o.margin_bottom = number_of(m_margins[3]);
    o.page_numbers = m_page_numbers->isChecked();
    o.merge_parts = m_merge->isChecked();
    o.colour_symbols = m_colour_symbols->isChecked();
    auto get = [](const MarkRow& row) {
        return print::PrintMarkOption{row.on->isChecked(), row.symbols->text(),
                                      colour_of(row.colour)};
    };
    o.love_no = get(m_love_no);
    o.mark = get(m_mark);
    o.love_yes = get(m_love_yes);
    o.alarm = get(m_alarm);
    o.columns = std::max(1, number_of(EditColNum));
    o.gap = number_of(m_gap);
    o.column_line = m_column_line->isChecked();
    o.new_day = CheckBoxNewDay->isChecked();
    o.new_channel = CheckBoxNewChl->isChecked();
    o.day_heading = CheckBoxNameDay->isChecked();
    o.channel_heading = CheckBoxNameChl->isChecked();
    o.day_heading_colour = colour_of(m_day_colour);
    o.channel_heading_colour = colour_of(m_channel_colour);
    o.one_line = CheckBoxLongStr->isChecked();
    o.max_length = number_of(m_limit);
    o.channel = m_channel->isChecked();
    o.start_time = m_start->isChecked();
    o.start_form = m_start_form->currentIndex();
    o.finish_time = m_finish->isChecked();
    o.finish_form = m_finish_form->currentIndex();
    o.length = m_length->isChecked();
    o.rating = m_rating->isChecked();
    o.type_icons = m_icons->isChecked();
    o.split = CheckBoxStrSplit->isChecked();
    o.mark_time = m_mark_time->isChecked();
    o.mark_time_colour = colour_of(m_mark_time_colour);
    return o;
}

}  // namespace zt
