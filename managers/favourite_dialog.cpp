#include "managers/favourite_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "managers/logic/short_text.h"
#include "managers/text_edit_delegate.h"
#include "ui/cp_text.h"

namespace zt {

FavouriteDialog::FavouriteDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFMgrLoveEdit"));
    m_title = new QLineEdit(this);
    m_title->setObjectName(QStringLiteral("EditLoveTitle"));
    m_title->setValidator(new Cp1251Validator(managers::kShortTextBytes, m_title));
    m_title->setMaxLength(static_cast<int>(managers::kShortTextBytes));
    m_title->setMinimumWidth(320);
    m_kind = new QComboBox(this);
    m_kind->setObjectName(QStringLiteral("ComboBoxLoveKind"));
    m_kind->addItems({QStringLiteral("Любимая"), QStringLiteral("Не любимая")});

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Название:"), m_title);
    form->addRow(QStringLiteral("&Тип:"), m_kind);
    auto* buttons = new QDialogButtonBox(this);
    auto* ok = buttons->addButton(QStringLiteral("Сохранить"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("BitBtnSave"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("BitBtnCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &FavouriteDialog::save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool FavouriteDialog::run(bool adding, const std::string& title_cp1251, std::uint8_t liked,
                          const Save& save) {
    setWindowTitle(adding ? QStringLiteral("Добавление передачи")
                          : QStringLiteral("Изменение передачи"));
    m_title->setText(from_cp(title_cp1251));
    m_kind->setCurrentIndex(liked == 1 ? 0 : 1);
    m_save = save;
    m_title->setFocus();
    m_title->selectAll();
    const bool saved = exec() == QDialog::Accepted;
    m_save = nullptr;
    return saved;
}

void FavouriteDialog::save() {
    const auto title =
        managers::cp1251_text(m_title->text().toStdString(), managers::kShortTextBytes);
    if (!title) return;
    const std::uint8_t liked = m_kind->currentIndex() == 0 ? 1 : 0;
    if (!m_save || m_save(*title, liked)) accept();
}

}  // namespace zt
