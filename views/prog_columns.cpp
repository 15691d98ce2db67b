#include "views/prog_columns.h"

#include <QCheckBox>
#include <QVBoxLayout>

#include "views/logic/prog_page_rules.h"
#include "views/logic/program_list.h"
#include "views/prog_table.h"

namespace zt {

TFColTvprog::TFColTvprog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFColTvprog"));
    setWindowTitle(QStringLiteral("Колонки"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(16, 12, 32, 12);
    const auto& columns = views::program_columns();
    for (int c = 0; c < 7; ++c) {
        auto* b = new QCheckBox(QString::fromUtf8(columns[std::size_t(c)].caption), this);
        b->setObjectName(QStringLiteral("CheckBoxCol%1").arg(c));
        boxes[std::size_t(c)] = b;
        l->addWidget(b);
    }
    l->setSizeConstraint(QLayout::SetFixedSize);
}

void TFColTvprog::take_from(const ProgramTable& table) {
    const auto shown = views::shown_columns(table.column_widths());
    for (std::size_t c = 0; c < boxes.size(); ++c) boxes[c]->setChecked(shown[c]);
}

void TFColTvprog::apply_to(ProgramTable& table) const {
    std::vector<bool> shown;
    for (auto* b : boxes) shown.push_back(b->isChecked());
    table.set_column_widths(
        views::chosen_column_widths(table.column_widths(), shown, table.restored_widths()));
    table.viewport()->update();
}

void TFColTvprog::ShowFor(ProgramTable& table, QWidget* centre_on) {
    m_table = &table;
    take_from(table);
    adjustSize();
    if (centre_on) {
        const QRect outer = centre_on->frameGeometry();
        move(outer.center() - rect().center());
    }
    exec();
}

void TFColTvprog::done(int result) {
    if (m_table) apply_to(*m_table);
    m_table = nullptr;
    QDialog::done(result);
}

}  // namespace zt
