// Lists keep their columns in place when a row becomes current.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollBar>
#include <QStandardItemModel>

#include "ui/row_table_view.h"

namespace zt {
namespace {

TEST(RowTableView, MakingAFarCellCurrentScrollsRowsNotColumns) {
    QStandardItemModel model(40, 6);
    for (int r = 0; r < 40; ++r)
        for (int c = 0; c < 6; ++c) model.setItem(r, c, new QStandardItem(QStringLiteral("x")));
    RowTableView view;
    view.setModel(&model);
    for (int c = 0; c < 6; ++c) view.setColumnWidth(c, 120);
    view.resize(200, 150);
    view.show();
    QApplication::processEvents();
    ASSERT_GT(view.horizontalScrollBar()->maximum(), 0);

    // The last column of a row far below: the rows follow, the columns stay at the left.
    view.setCurrentIndex(model.index(30, 5));
    QApplication::processEvents();
    EXPECT_EQ(view.horizontalScrollBar()->value(), 0);
    EXPECT_GT(view.verticalScrollBar()->value(), 0);

    // Where the user scrolled sideways, a selection keeps that place too.
    view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum() / 2);
    const int x = view.horizontalScrollBar()->value();
    view.setCurrentIndex(model.index(2, 0));
    QApplication::processEvents();
    EXPECT_EQ(view.horizontalScrollBar()->value(), x);
}

}  // namespace
}  // namespace zt
