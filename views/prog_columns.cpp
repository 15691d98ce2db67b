#include "views/prog_columns.h"

#include <QCheckBox>
#include <QVBoxLayout>

#include "views/logic/prog_page_rules.h"
#include "views/logic/program_list.h"

namespace zt {

TFColTvprog::TFColTvprog(SettingsStore& settings, QWidget* parent)
    : QDialog(parent), m_settings(settings) {
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

void TFColTvprog::ShowFor(int page, std::vector<int> restored, QWidget* centre_on) {
    m_restored = std::move(restored);
    m_widths.emplace(m_settings, [page](Settings& s) -> std::vector<int>& {
        return s.pages.columns[std::size_t(page)];
    });
    const auto shown = views::shown_columns(m_widths->value);
    for (std::size_t c = 0; c < boxes.size(); ++c) boxes[c]->setChecked(shown[c]);
    adjustSize();
    if (centre_on) {
        const QRect outer = centre_on->frameGeometry();
        move(outer.center() - rect().center());
    }
    exec();
}

void TFColTvprog::done(int result) {
    if (m_widths) {
        std::vector<bool> shown;
        for (auto* b : boxes) shown.push_back(b->isChecked());
        m_widths->value = views::chosen_column_widths(m_widths->value, shown, m_restored);
        m_widths->commit();
        m_widths.reset();
    }
    QDialog::done(result);
}

}  // namespace zt
