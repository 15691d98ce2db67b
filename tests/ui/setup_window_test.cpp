// The installation window's path field.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QScreen>

#include "core/progress.h"
#include "dialogs/setup_window.h"
#include "ui_helpers.h"

namespace zt {
namespace {

class NoMessages final : public UserInterface {
public:
    bool show_msg(MsgKind, const std::string& text) override {
        ADD_FAILURE() << text;
        return false;
    }
};

// The whole chosen folder shows in the field; one too long for the screen shows its end (the
// folder's own name) and the window stays on the screen.
TEST(SetupWindow, PathFieldShowsTheWholePath) {
    NoMessages ui;
    TFSetup setup(QStringLiteral("/tmp/zorvan_tv"), ui);
    setup.show();
    const QString paths[] = {
        QStringLiteral("/tmp/x"),
        QStringLiteral("/home/пользователь/Программы/Телепрограмма/zorvan_tv"),
    };
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        setup.set_path(path);
        QApplication::processEvents();
        QLineEdit* edit = test::widget<QLineEdit>(setup, "EditPath");
        EXPECT_EQ(edit->text(), path);
        const int room = edit->contentsRect().width() - edit->textMargins().left() -
                         edit->textMargins().right() - 4;
        EXPECT_LE(edit->fontMetrics().horizontalAdvance(path), room);
        EXPECT_EQ(setup.width(), setup.minimumWidth());  // still a fixed-size window
    }

    const QString longest =
        QStringLiteral("/media/disk") + QString(QStringLiteral("/folder")).repeated(60);
    setup.set_path(longest);
    QApplication::processEvents();
    EXPECT_LE(setup.width(), setup.screen()->availableGeometry().width());
    EXPECT_EQ(test::widget<QLineEdit>(setup, "EditPath")->cursorPosition(), longest.size());
}

}  // namespace
}  // namespace zt
