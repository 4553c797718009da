#include "ui/filedialog.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct Seen {
    QString filterShown;
    QString nameOffered;
    QString caption;
};

// Opens the real dialog, reads what it shows, and cancels it.
Seen LookAtDialog(FileDialog::Kind kind)
{
    Seen seen;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        if (auto* filters = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
            seen.filterShown = filters->currentText();
        if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            seen.nameOffered = name->text();
        dialog->reject();
    });
    FileDialog dialog(kind, QStringLiteral("dumy.hgd"));
    EXPECT_FALSE(dialog.Execute(nullptr).has_value());
    return seen;
}

}  // namespace

TEST(FileDialogWindow, ShowsTheFilterDescriptionAndTheInitialName)
{
    for (const FileDialog::Kind kind : {FileDialog::Kind::Open, FileDialog::Kind::Save}) {
        const Seen seen = LookAtDialog(kind);
        EXPECT_EQ(seen.filterShown, QStringLiteral("平ギアのデーター"));
        EXPECT_EQ(seen.nameOffered, QStringLiteral("dumy.hgd"));
    }
}
