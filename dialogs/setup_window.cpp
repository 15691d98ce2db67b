#include "dialogs/setup_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include "core/version.h"
#include "dialogs/logic/installer.h"
#include "ui/app_resources.h"

namespace zt {
namespace {

// Room a line edit's frame and inner margin take on each side beyond its text margins.
constexpr int kEditFrame = 4;
// The width of the window beside the path field: the logo, the caption, the button, margins.
constexpr int kBesideEdit = 340;

}  // namespace

TFSetup::TFSetup(QString executable, UserInterface& ui, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_executable(std::move(executable)),
      m_ui(ui) {
    init_app_resources();
    setObjectName(QStringLiteral("TFSetup"));
    setWindowIcon(app_icon());
    setWindowTitle(QStringLiteral("ЗОРВАН. Телепрограмма."));

    auto* logo_panel = new QFrame(this);
    logo_panel->setObjectName(QStringLiteral("PanelLogo"));
    logo_panel->setFrameShape(QFrame::StyledPanel);
    logo_panel->setFrameShadow(QFrame::Sunken);
    auto* logo_layout = new QVBoxLayout(logo_panel);
    logo_layout->setContentsMargins(4, 4, 4, 4);
    ImageLogo = new QLabel(logo_panel);
    ImageLogo->setObjectName(QStringLiteral("ImageLogo"));
    ImageLogo->setFixedSize(120, 120);
    ImageLogo->setAlignment(Qt::AlignCenter);
    ImageLogo->setPixmap(QPixmap(QStringLiteral(":/icons/128.png"))
                             .scaled(120, 120, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    logo_layout->addWidget(ImageLogo);

    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(8);
    fields->setVerticalSpacing(6);
    fields->addWidget(new QLabel(QStringLiteral("Приложение:"), this), 0, 0);
    LabelProg = new QLabel(QStringLiteral("ЗОРВАН. Телепрограмма."), this);
    LabelProg->setObjectName(QStringLiteral("LabelProg"));
    QFont bold = LabelProg->font();
    bold.setBold(true);
    LabelProg->setFont(bold);
    fields->addWidget(LabelProg, 0, 1, 1, 2);
    fields->addWidget(new QLabel(QStringLiteral("Версия:"), this), 1, 0);
    LabelVers = new QLabel(QString::fromLatin1(kProgramVersion) + QStringLiteral(" (") +
                               QString::fromLatin1(kProgramBuild) + QStringLiteral(")"),
                           this);
    LabelVers->setObjectName(QStringLiteral("LabelVers"));
    fields->addWidget(LabelVers, 1, 1, 1, 2);
    fields->addWidget(new QLabel(QStringLiteral("Установить в:"), this), 2, 0);
    EditPath = new QLineEdit(this);
    EditPath->setObjectName(QStringLiteral("EditPath"));
    EditPath->setReadOnly(true);
    fields->addWidget(EditPath, 2, 1);
    ButtonPathChange = new QPushButton(QStringLiteral("Изменить..."), this);
    ButtonPathChange->setObjectName(QStringLiteral("ButtonPathChange"));
    ButtonPathChange->setAutoDefault(false);
    fields->addWidget(ButtonPathChange, 2, 2);
    CheckBoxStart = new QCheckBox(QStringLiteral("Создать ярлык в меню \"Пуск\""), this);
    CheckBoxStart->setObjectName(QStringLiteral("CheckBoxStart"));
    CheckBoxStart->setChecked(true);
    fields->addWidget(CheckBoxStart, 3, 1, 1, 2);
    CheckBoxDesktop = new QCheckBox(QStringLiteral("Создать ярлык на рабочем столе"), this);
    CheckBoxDesktop->setObjectName(QStringLiteral("CheckBoxDesktop"));
    CheckBoxDesktop->setChecked(true);
    fields->addWidget(CheckBoxDesktop, 4, 1, 1, 2);
    fields->setColumnStretch(1, 1);

    BitBtnSetup = new QPushButton(QStringLiteral("Установить"), this);
    BitBtnSetup->setObjectName(QStringLiteral("BitBtnSetup"));
    BitBtnSetup->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    BitBtnSetup->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtnSetup);

    auto* right = new QVBoxLayout;
    right->addLayout(fields);
    right->addStretch(1);
    right->addLayout(buttons);
    auto* main = new QHBoxLayout(this);
    main->setContentsMargins(10, 10, 10, 10);
    main->setSpacing(12);
    main->addWidget(logo_panel, 0, Qt::AlignTop);
    main->addLayout(right, 1);

    connect(ButtonPathChange, &QPushButton::clicked, this, &TFSetup::ButtonPathChangeClick);
    connect(BitBtnSetup, &QPushButton::clicked, this, &TFSetup::BitBtnSetupClick);

    set_path(default_install_folder());
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

void TFSetup::set_path(const QString& folder) {
    EditPath->setText(folder);
    EditPath->setToolTip(folder);
    // The field grows with the path so that all of it shows, as far as the screen allows; a
    // path longer than that shows its end (the folder's own name), the rest scrolls.
    const QMargins margins = EditPath->textMargins() + EditPath->contentsMargins();
    const int needed = EditPath->fontMetrics().horizontalAdvance(folder) + margins.left() +
                       margins.right() + 2 * kEditFrame;
    int wanted = needed;
    if (QScreen* screen = QGuiApplication::primaryScreen())
        wanted = std::min(wanted, screen->availableGeometry().width() - kBesideEdit);
    EditPath->setMinimumWidth(std::max(wanted, 0));
    setFixedSize(QSize(494, 170).expandedTo(sizeHint()));
    layout()->activate();
    EditPath->setCursorPosition(EditPath->width() < needed ? int(folder.size()) : 0);
}

void TFSetup::ButtonPathChangeClick() {
    const QString chosen =
        QFileDialog::getExistingDirectory(this, QStringLiteral("Установить в:"), EditPath->text());
    if (!chosen.isEmpty()) set_path(chosen);
}

void TFSetup::BitBtnSetupClick() {
    InstallOptions options;
    options.folder = EditPath->text();
    options.executable = m_executable;
    options.start_menu = CheckBoxStart->isChecked();
    options.desktop = CheckBoxDesktop->isChecked();
    QFile icon(QStringLiteral(":/icons/256.png"));
    if (icon.open(QIODevice::ReadOnly)) options.icon_png = icon.readAll();
    if (install(options, m_ui) == InstallOutcome::finished) {
        m_done = true;
        hide();
        emit finished_setup();
    }
}

void TFSetup::closeEvent(QCloseEvent* event) {
    QDialog::closeEvent(event);
    if (!m_done) {
        m_done = true;
        emit finished_setup();
    }
}

void TFSetup::reject() {
    // Escape and the close box: closing the installation window ends the application.
    hide();
    if (!m_done) {
        m_done = true;
        emit finished_setup();
    }
}

}  // namespace zt
