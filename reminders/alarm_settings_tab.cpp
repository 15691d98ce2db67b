#include "reminders/alarm_settings_tab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "storage/settings_store.h"
#include "ui/colour_box.h"
#include "ui/cp_text.h"
#include "ui/monitors.h"

namespace zt {

AlarmSettingsTab::AlarmSettingsTab(SettingsStore& store, QWidget* parent)
    : QWidget(parent), m_store(store), m_grid(new QGridLayout(this)) {
    m_grid->setColumnStretch(1, 1);
    connect(&store, &SettingsStore::changed, this, &AlarmSettingsTab::load);
}

const Settings& AlarmSettingsTab::settings() const {
    return m_store.get();
}

void AlarmSettingsTab::change(const std::function<void(Settings&)>& edit) {
    m_store.change(edit);
}

void AlarmSettingsTab::load() {
    for (const auto& step : m_loaders) step();
}

void AlarmSettingsTab::add_label(int row, const QString& text) {
    m_grid->addWidget(new QLabel(text, this), row, 0);
}

QComboBox* AlarmSettingsTab::add_combo(int row, int column, const char* name,
                                       const QStringList& items, Field<int> field) {
    auto* box = new QComboBox(this);
    box->setObjectName(QString::fromLatin1(name));
    box->addItems(items);
    box->setMaxVisibleItems(15);
    m_grid->addWidget(box, row, column);
    connect(box, &QComboBox::activated, this,
            [this, field](int index) { change([&](Settings& s) { field(s) = index; }); });
    on_load([this, box, field] {
        const QSignalBlocker block(box);
        const int value = field(m_store.model());
        box->setCurrentIndex(value >= 0 && value < box->count() ? value : 0);
    });
    return box;
}

QCheckBox* AlarmSettingsTab::add_check(int row, int column, const char* name,
                                       const QString& caption, Field<bool> field) {
    auto* box = new QCheckBox(caption, this);
    box->setObjectName(QString::fromLatin1(name));
    m_grid->addWidget(box, row, column);
    connect(box, &QCheckBox::clicked, this,
            [this, field](bool on) { change([&](Settings& s) { field(s) = on; }); });
    on_load([this, box, field] {
        const QSignalBlocker block(box);
        box->setChecked(field(m_store.model()));
    });
    return box;
}

ColourBox* AlarmSettingsTab::add_colour(int row, int column, const char* name, const QString& hint,
                                        Field<Colour> field) {
    auto* box = new ColourBox(this);
    box->setObjectName(QString::fromLatin1(name));
    box->setToolTip(hint);
    m_grid->addWidget(box, row, column);
    connect(box, &ColourBox::colour_chosen, this,
            [this, field](Colour c) { change([&](Settings& s) { field(s) = c; }); });
    on_load([this, box, field] { box->set_colour(field(m_store.model())); });
    return box;
}

QLineEdit* AlarmSettingsTab::add_path(int row, const char* name, const char* open_name,
                                      const char* clear_name, const QString& filter,
                                      Field<std::string> field,
                                      std::function<void(Settings&)> on_choice) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    auto* open = add_button(row, 2, open_name, QStringLiteral("..."));
    open->setToolTip(QStringLiteral("Открыть файл"));
    auto* clear = add_button(row, 3, clear_name, QStringLiteral("×"));
    clear->setToolTip(QStringLiteral("Очистить"));
    m_grid->addWidget(edit, row, 1);
    connect(open, &QPushButton::clicked, this, [this, edit, filter, field, on_choice] {
        const QString path = QFileDialog::getOpenFileName(this, QString(), edit->text(), filter);
        if (path.isEmpty()) return;
        change([&](Settings& s) {
            field(s) = to_cp(path);
            if (on_choice) on_choice(s);
        });
    });
    connect(clear, &QPushButton::clicked, this,
            [this, field] { change([&](Settings& s) { field(s).clear(); }); });
    on_load([this, edit, field] {
        const QString text = from_cp(field(m_store.model()));
        edit->setText(text);
        edit->setToolTip(text);
    });
    return edit;
}

QLineEdit* AlarmSettingsTab::add_text(int row, int column, const char* name,
                                      Field<std::string> field) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(name));
    m_grid->addWidget(edit, row, column);
    connect(edit, &QLineEdit::textEdited, this, [this, field](const QString& text) {
        change([&](Settings& s) { field(s) = to_cp(text); });
    });
    on_load([this, edit, field] {
        const QString text = from_cp(field(m_store.model()));
        if (edit->text() != text) edit->setText(text);
    });
    return edit;
}

QComboBox* AlarmSettingsTab::add_monitor_combo(int row, const char* name, Field<int> field) {
    auto* box = new QComboBox(this);
    box->setObjectName(QString::fromLatin1(name));
    m_grid->addWidget(box, row, 1, 1, 3);
    connect(box, &QComboBox::activated, this,
            [this, field](int index) { change([&](Settings& s) { field(s) = index; }); });
    on_load([this, box, field] {
        const QSignalBlocker block(box);
        box->clear();
        box->addItems(monitor_items());
        box->setCurrentIndex(monitor_index(field(m_store.model()), box->count()));
    });
    return box;
}

QPushButton* AlarmSettingsTab::add_button(int row, int column, const char* name,
                                          const QString& caption) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    m_grid->addWidget(button, row, column);
    return button;
}

}  // namespace zt
