#include <QApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFontDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "dialogs/logic/settings_form.h"
#include "dialogs/settings_pages.h"
#include "dialogs/settings_widgets.h"
#include "ui/colour_box.h"
#include "ui/cp_text.h"

namespace zt {
namespace {

struct ColourRow final {
    const char* name;
    const char* caption;
    Colour ViewSettings::*member;
};

constexpr ColourRow kRows[12] = {
    {"ColorBoxViewTblFont", "Текст:", &ViewSettings::text},
    {"ColorBoxViewTblBack", "Фон:", &ViewSettings::back},
    {"ColorBoxViewTblFocus", "Фокус:", &ViewSettings::focus},
    {"ColorBoxViewTblSelect1", "Фон выделения 1:", &ViewSettings::select1},
    {"ColorBoxViewTblSelect2", "Фон выделения 2:", &ViewSettings::select2},
    {"ColorBoxViewTblEnd", "Осталось до конца:", &ViewSettings::end},
    {"ColorBoxViewTblOld", "Прошедшие передачи:", &ViewSettings::old},
    {"ColorBoxViewTblCur", "Текущая передача:", &ViewSettings::current},
    {"ColorBoxViewTblLoveN", "Не любимые:", &ViewSettings::love_no},
    {"ColorBoxViewTblMark", "Маркер:", &ViewSettings::mark},
    {"ColorBoxViewTblLoveY", "Любимые:", &ViewSettings::love_yes},
    {"ColorBoxViewTblAlarm", "Оповещение:", &ViewSettings::alarm},
};

QFont font_of(const ViewSettings& v) {
    QFont f = QApplication::font();
    if (!v.font_name.empty()) f.setFamily(from_cp(v.font_name));
    f.setPointSize(std::max(1, v.font_size));
    f.setBold(v.font_bold);
    f.setItalic(v.font_italic);
    return f;
}

QString css_colour(Colour c) {
    if (is_system_colour(c)) return QStringLiteral("palette(text)");
    return QColor(colour_red(c), colour_green(c), colour_blue(c)).name();
}

}  // namespace

SettingsViewPage::SettingsViewPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheetView"));
    auto* grid = new QGridLayout(this);
    PanelViewTblFontName = named<QLabel>(this, "PanelViewTblFontName");
    PanelViewTblFontName->setAlignment(Qt::AlignCenter);
    PanelViewTblFontName->setMinimumHeight(28);
    PanelViewTblFontName->setCursor(Qt::PointingHandCursor);
    PanelViewTblFontName->installEventFilter(this);
    BitBtnViewTblFontName = named<QPushButton>(this, "BitBtnViewTblFontName");
    BitBtnViewTblFontName->setText(QStringLiteral("..."));
    BitBtnViewTblFontName->setFixedWidth(30);
    auto* font_row = new QHBoxLayout;
    font_row->addWidget(new QLabel(QStringLiteral("Шрифт таблиц:"), this));
    font_row->addWidget(PanelViewTblFontName, 1);
    font_row->addWidget(BitBtnViewTblFontName);
    grid->addLayout(font_row, 0, 0, 1, 4);

    for (int i = 0; i < 12; ++i) {
        auto* box = new ColourBox(this);
        box->setObjectName(QString::fromLatin1(kRows[i].name));
        colours[std::size_t(i)] = box;
        const int row = 1 + i % 6;
        const int column = i / 6 * 2;
        grid->addWidget(new QLabel(QString::fromUtf8(kRows[i].caption), this), row, column);
        grid->addWidget(box, row, column + 1);
        connect(box, &ColourBox::colour_changed, this, &SettingsViewPage::show_preview);
    }
    BitBtnViewDefault = named<QPushButton>(this, "BitBtnViewDefault");
    BitBtnViewDefault->setText(QStringLiteral("По умолчанию"));
    grid->addWidget(BitBtnViewDefault, 7, 3, Qt::AlignRight);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    FontDialogViewTbl = named<QFontDialog>(this, "FontDialogViewTbl");
    FontDialogViewTbl->setOption(QFontDialog::DontUseNativeDialog);
    // "Применить" shows the dialog's font on the panel without closing it.
    if (auto* buttons = FontDialogViewTbl->findChild<QDialogButtonBox*>()) {
        QPushButton* apply = buttons->addButton(QDialogButtonBox::Apply);
        apply->setText(QStringLiteral("Применить"));
        connect(apply, &QPushButton::clicked, this, [this] {
            const QFont f = FontDialogViewTbl->currentFont();
            m_font.font_name = to_cp(f.family());
            m_font.font_size = f.pointSize() > 0 ? f.pointSize() : m_font.font_size;
            m_font.font_bold = f.bold();
            m_font.font_italic = f.italic();
            show_preview();
        });
    }

    connect(BitBtnViewTblFontName, &QPushButton::clicked, this, &SettingsViewPage::choose_font);
    connect(BitBtnViewDefault, &QPushButton::clicked, this, [this] {
        ViewSettings v;
        reset_view_defaults(v);
        load(v);
    });
}

void SettingsViewPage::load(const ViewSettings& view) {
    for (int i = 0; i < 12; ++i) colours[std::size_t(i)]->set_colour(view.*kRows[i].member);
    set_font(view);
}

void SettingsViewPage::store(ViewSettings& view) const {
    for (int i = 0; i < 12; ++i) view.*kRows[i].member = colours[std::size_t(i)]->colour();
    view.font_name = m_font.font_name;
    view.font_size = m_font.font_size;
    view.font_bold = m_font.font_bold;
    view.font_italic = m_font.font_italic;
}

void SettingsViewPage::set_font(const ViewSettings& view) {
    m_font.font_name = view.font_name;
    m_font.font_size = view.font_size;
    m_font.font_bold = view.font_bold;
    m_font.font_italic = view.font_italic;
    show_preview();
}

void SettingsViewPage::show_preview() {
    // The panel previews the table text: the font named in itself, the text colour on the
    // background colour.
    const QFont f = font_of(m_font);
    PanelViewTblFontName->setFont(f);
    PanelViewTblFontName->setText(f.family());
    PanelViewTblFontName->setStyleSheet(
        QStringLiteral("QLabel { color: %1; background: %2; border: 1px solid gray; }")
            .arg(css_colour(colours[0]->colour()), css_colour(colours[1]->colour())));
}

void SettingsViewPage::choose_font() {
    FontDialogViewTbl->setCurrentFont(font_of(m_font));
    if (FontDialogViewTbl->exec() != QDialog::Accepted) return;
    const QFont f = FontDialogViewTbl->selectedFont();
    m_font.font_name = to_cp(f.family());
    if (f.pointSize() > 0) m_font.font_size = f.pointSize();
    m_font.font_bold = f.bold();
    m_font.font_italic = f.italic();
    show_preview();
}

bool SettingsViewPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == PanelViewTblFontName && event->type() == QEvent::MouseButtonRelease) {
        choose_font();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace zt
