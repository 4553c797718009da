// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/filedialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <sys/fanotify.h>
#include <sys/stat.h>
#include <thread>
#include <vector>
#include <unistd.h>

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

// A FIFO blocks a reader until a writer comes, and a file on a hung network
// mount blocks it too; "stuck.hgd" stands for one, held by a fanotify watch
// that never answers (where the system allows one). The listing must learn each
// entry's kind without opening it. After 10 s, or at the end, a writer comes
// and the watch closes, so a listing that blocked fails instead of hanging.
TEST(FileDialogWindow, ListsAFolderHoldingAFifoWithoutReadingIt)
{
    QTemporaryDir folder;
    const QByteArray fifo = QFile::encodeName(folder.filePath(QStringLiteral("pipe.hgd")));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    QStringList names{QStringLiteral("a.hgd"), QStringLiteral("stuck.hgd"), QStringLiteral("z.hgd")};
    for (const QString& name : names)
        QFile(folder.filePath(name)).open(QIODevice::WriteOnly);
    const int watch = ::fanotify_init(FAN_CLASS_CONTENT | FAN_CLOEXEC, O_RDONLY);
    if (::fanotify_mark(watch, FAN_MARK_ADD, FAN_OPEN_PERM, AT_FDCWD, QFile::encodeName(folder.filePath(names[1]))) != 0)
        names.removeAt(1);
    std::atomic<bool> finished{false};
    std::thread release([&] {
        for (int i = 0; i < 100 && !finished; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ::close(::open(fifo.constData(), O_WRONLY | O_NONBLOCK));
        ::close(watch);
    });
    QStringList typed;   // the entries whose type the listing has filled in
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        auto* model = dialog->findChild<QFileSystemModel*>();
        QElapsedTimer waited;
        waited.start();
        while (typed.size() < names.size() && waited.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            typed.clear();
            for (const QString& name : names)
                if (!model->type(model->index(folder.filePath(name))).isEmpty())
                    typed << name;
        }
        dialog->reject();
    });
    QElapsedTimer took;
    took.start();
    FileDialog(FileDialog::Kind::Open, folder.filePath(QStringLiteral("a.hgd"))).Execute(nullptr);
    finished = true;
    release.join();
    EXPECT_EQ(typed, names);
    EXPECT_LT(took.elapsed(), 6000) << "the window's thread was blocked";
}

// The tool windows' save dialogs start where the last save went, unless that
// folder is the kernel's or gone: listing /proc blocked the window on /proc/kmsg.
TEST(FileDialogWindow, SaveDialogsStartInAnOrdinaryFolder)
{
    QTemporaryDir folder;
    const QString home = QDir::homePath();
    const std::vector<std::pair<QString, QString>> cases = {
        {folder.filePath(QStringLiteral("a.svg")), folder.filePath(QStringLiteral("a.svg"))},
        {QStringLiteral("/proc/x.svg"), home + QStringLiteral("/x.svg")},
        {QStringLiteral("/proc/self/x.pdf"), home + QStringLiteral("/x.pdf")},
        {QStringLiteral("/sys/x.dxf"), home + QStringLiteral("/x.dxf")},
        {QStringLiteral("/dev/x.step"), home + QStringLiteral("/x.step")},
        {folder.filePath(QStringLiteral("gone/b.png")), home + QStringLiteral("/b.png")},
    };
    for (const auto& [last, start] : cases)
        EXPECT_EQ(SaveDialogStartName(last), start) << last.toStdString();

    QString listed;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        listed = dialog->directory().absolutePath();
        dialog->reject();
    });
    QElapsedTimer took;
    took.start();
    QString filter = QStringLiteral("PNG (*.png)");
    EXPECT_TRUE(AskSaveFileName(nullptr, QStringLiteral("かみあい図の保存"), QStringLiteral("/proc/x.svg"),
                                QStringLiteral("SVG (*.svg);;PNG (*.png)"), &filter)
                    .isEmpty());
    EXPECT_EQ(listed, QDir(home).absolutePath());
    EXPECT_EQ(filter, QStringLiteral("PNG (*.png)"));
    EXPECT_LT(took.elapsed(), 6000) << "the window's thread was blocked";
}

