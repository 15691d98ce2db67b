#include "managers/group_dialogs.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QToolButton>
#include <QToolTip>

#include "ui/cp_text.h"

namespace zt {

namespace {

// "Сохранить" and "Отмена" under a dialog's fields; the dialog keeps its size.
void finish_dialog(QDialog& dialog, QBoxLayout& layout) {
    auto* buttons = new QDialogButtonBox(&dialog);
    auto* save = buttons->addButton(QStringLiteral("Сохранить"), QDialogButtonBox::AcceptRole);
    save->setObjectName(QStringLiteral("ButtonSave"));
    save->setDefault(true);
    auto* cancel = buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("ButtonCancel"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout.addWidget(buttons);
    layout.setSizeConstraint(QLayout::SetFixedSize);
    dialog.setModal(true);
}

QLineEdit* named_edit(QWidget* parent, const char* name, const QString& accessible) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setAccessibleName(accessible);
    return e;
}

// Two characters, digits only.
QLineEdit* digits_edit(QWidget* parent, const char* name, const QString& accessible) {
    auto* e = named_edit(parent, name, accessible);
    e->setMaxLength(2);
    e->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
    e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 10);
    return e;
}

}  // namespace

TFMgrChlGrpAdd::TFMgrChlGrpAdd(QWidget* parent, const QString& caption) : QDialog(parent) {
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    EditName = named_edit(this, "EditName", QStringLiteral("Название"));
    EditDescr = named_edit(this, "EditDescr", QStringLiteral("Описание"));
    EditName->setMinimumWidth(300);
    form->addRow(QStringLiteral("Название:"), EditName);
    form->addRow(QStringLiteral("Описание:"), EditDescr);
    layout->addLayout(form);
    finish_dialog(*this, *layout);
}

bool TFMgrChlGrpAdd::ask(std::string& name, std::string& descr) {
    EditName->setText(from_cp(name));
    EditDescr->setText(from_cp(descr));
    EditName->setFocus();
    if (exec() != QDialog::Accepted) return false;
    name = to_cp(EditName->text());
    descr = to_cp(EditDescr->text());
    return true;
}

TFMgrChlGrpEdit::TFMgrChlGrpEdit(QWidget* parent)
    : TFMgrChlGrpAdd(parent, QStringLiteral("Изменение группы")) {}

ShiftFields::ShiftFields(QWidget* parent) : QWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    ComboBoxTimeMP = new QComboBox(this);
    ComboBoxTimeMP->setObjectName(QStringLiteral("ComboBoxTimeMP"));
    ComboBoxTimeMP->setAccessibleName(QStringLiteral("Знак сдвига"));
    ComboBoxTimeMP->addItems({QStringLiteral("минус"), QStringLiteral("плюс")});
    EditTimeHour = digits_edit(this, "EditTimeHour", QStringLiteral("Часы"));
    EditTimeMin = digits_edit(this, "EditTimeMin", QStringLiteral("Минуты"));
    ComboBoxTimeSel = new QComboBox(this);
    ComboBoxTimeSel->setObjectName(QStringLiteral("ComboBoxTimeSel"));
    ComboBoxTimeSel->setAccessibleName(QStringLiteral("Часовой пояс"));
    ComboBoxTimeSel->setToolTip(QStringLiteral("Заполняет сдвиг по часовому поясу"));
    // Until a zone is picked the box says what it is for instead of standing blank.
    ComboBoxTimeSel->setPlaceholderText(QStringLiteral("выбрать из списка"));
    ComboBoxTimeSel->setMaximumWidth(220);
    auto* zone = new QLabel(QStringLiteral("&Часовой пояс:"), this);
    zone->setObjectName(QStringLiteral("LabelTimeSel"));
    zone->setBuddy(ComboBoxTimeSel);
    row->addWidget(ComboBoxTimeMP);
    row->addWidget(EditTimeHour);
    row->addWidget(new QLabel(QStringLiteral(":"), this));
    row->addWidget(EditTimeMin);
    row->addSpacing(8);
    row->addWidget(zone);
    row->addWidget(ComboBoxTimeSel, 1);
    set({false, "00", "00"});
    connect(ComboBoxTimeSel, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && std::size_t(index) < m_zones.size())
            set(zone_to_fields(m_zones[std::size_t(index)]));
    });
}

void ShiftFields::set_zones(const std::vector<time_gmt>& zones) {
    if (ComboBoxTimeSel->count() > 0 || zones.empty()) return;
    m_zones = zones;
    int widest = 0;
    for (const auto& z : zones) {
        const QString caption = from_cp(z.caption);
        ComboBoxTimeSel->addItem(caption);
        widest = std::max(widest, ComboBoxTimeSel->fontMetrics().horizontalAdvance(caption));
    }
    // The drop-down shows the longest caption whole.
    ComboBoxTimeSel->view()->setMinimumWidth(
        widest + ComboBoxTimeSel->view()->verticalScrollBar()->sizeHint().width() + 5 + 8);
    ComboBoxTimeSel->setCurrentIndex(-1);
}

void ShiftFields::set(const shift_fields& fields) {
    ComboBoxTimeMP->setCurrentIndex(fields.plus ? 1 : 0);
    EditTimeHour->setText(from_cp(fields.hours));
    EditTimeMin->setText(from_cp(fields.minutes));
}

shift_fields ShiftFields::get() const {
    return {ComboBoxTimeMP->currentIndex() == 1, to_cp(EditTimeHour->text()),
            to_cp(EditTimeMin->text())};
}

void ShiftFields::clear_preset() {
    ComboBoxTimeSel->setCurrentIndex(-1);
}

void ShiftFields::focus_hours() {
    EditTimeHour->setFocus();
}

std::string ShiftFields::shift_text() const {
    const shift_fields f = get();
    return make_shift_text(f.hours, f.minutes, f.plus);
}

TFMgrChlInGrpEdit::TFMgrChlInGrpEdit(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Изменение канала"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    EditName = named_edit(this, "EditName", QStringLiteral("Название"));
    form->addRow(QStringLiteral("Название:"), EditName);

    MemoDescr = new QPlainTextEdit(this);
    MemoDescr->setObjectName(QStringLiteral("MemoDescr"));
    MemoDescr->setAccessibleName(QStringLiteral("Описание"));
    MemoDescr->setLineWrapMode(QPlainTextEdit::NoWrap);
    MemoDescr->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoDescr->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoDescr->setFixedSize(380, 120);
    BitBtnHelp = new QToolButton(this);
    BitBtnHelp->setObjectName(QStringLiteral("BitBtnHelp"));
    BitBtnHelp->setText(QStringLiteral("?"));
    BitBtnHelp->setAccessibleName(QStringLiteral("Подсказка"));
    BitBtnHelp->setToolTip(QStringLiteral(
        "В описании можно использовать специальные символы:\r\n<b> и </b> - жирный шрифт.\r\n"
        "URL ссылки будут выделены и активированы автоматически."));
    connect(BitBtnHelp, &QToolButton::clicked, this, [this] {
        QToolTip::showText(BitBtnHelp->mapToGlobal(QPoint(0, BitBtnHelp->height())),
                           BitBtnHelp->toolTip(), BitBtnHelp);
    });
    auto* descr = new QHBoxLayout;
    descr->addWidget(MemoDescr);
    descr->addWidget(BitBtnHelp, 0, Qt::AlignTop);
    form->addRow(QStringLiteral("Описание:"), descr);

    m_shift = new ShiftFields(this);
    form->addRow(QStringLiteral("Время:"), m_shift);
    EditNum = named_edit(this, "EditNum", QStringLiteral("Кнопка"));
    EditNum->setMaximumWidth(80);
    form->addRow(QStringLiteral("Кнопка:"), EditNum);
    layout->addLayout(form);
    finish_dialog(*this, *layout);
}

bool TFMgrChlInGrpEdit::ask(member_fields& fields, const shift_fields& shift) {
    EditName->setText(from_cp(fields.name));
    MemoDescr->setPlainText(from_cp(fields.descr));
    EditNum->setText(from_cp(fields.button));
    m_shift->clear_preset();
    m_shift->set(shift);
    EditName->setFocus();
    if (exec() != QDialog::Accepted) return false;
    fields.name = to_cp(EditName->text());
    fields.descr = to_cp(MemoDescr->toPlainText());
    fields.button = to_cp(EditNum->text());
    fields.shift_text = m_shift->shift_text();
    return true;
}

TFMgrChlInGrpTime::TFMgrChlInGrpTime(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Изменение времени"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_shift = new ShiftFields(this);
    form->addRow(QStringLiteral("Время:"), m_shift);
    layout->addLayout(form);
    finish_dialog(*this, *layout);
}

bool TFMgrChlInGrpTime::ask(std::string& shift_text) {
    m_shift->focus_hours();
    if (exec() != QDialog::Accepted) return false;
    shift_text = m_shift->shift_text();
    return true;
}

}  // namespace zt
