#include "ui/filedialog.h"

#include <QApplication>
#include <QComboBox>
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

// A FIFO blocks whoever reads it until a writer comes, and so does a regular
// file on a hung network mount; here one is held by a fanotify permission
// watch that never answers (where the system lets the tests set one). The
// listing must learn each entry's kind without opening it. At the end a writer
// is let in once and the watch is closed, so a listing that did block ends
// and the test fails instead of hanging.
TEST(FileDialogWindow, ListsAFolderHoldingAFifoWithoutReadingIt)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    // The FIFO is no file to open and the dialog does not show it; the files
    // on either side of it must still be listed.
    const QString fifo = folder.filePath(QStringLiteral("pipe.hgd"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QStringList names{QStringLiteral("a.hgd"), QStringLiteral("stuck.hgd"), QStringLiteral("z.hgd")};
    for (const QString& name : names) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n");
    }
    const int watch = ::fanotify_init(FAN_CLASS_CONTENT | FAN_CLOEXEC, O_RDONLY);
    if (watch < 0 || ::fanotify_mark(watch, FAN_MARK_ADD, FAN_OPEN_PERM, AT_FDCWD,
                                     QFile::encodeName(folder.filePath(names[1])).constData()) != 0)
        names.removeAt(1);
    QStringList typed;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* model = dialog->findChild<QFileSystemModel*>();
        ASSERT_NE(model, nullptr);
        QElapsedTimer waited;
        waited.start();
        // Each entry's type is filled in once the listing has looked at it.
        while (typed.size() < names.size() && waited.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            typed.clear();
            for (const QString& name : names)
                if (!model->type(model->index(folder.filePath(name))).isEmpty())
                    typed << name;
        }
        dialog->reject();
    });
    // Lets blocked readers go on after 10 s, or at the end, even if the
    // window's own thread is the one that blocked.
    std::atomic<bool> finished{false};
    std::thread release([&] {
        for (int i = 0; i < 100 && !finished; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const int writer = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0)
            ::close(writer);
        if (watch >= 0)
            ::close(watch);
    });
    QElapsedTimer took;
    took.start();
    FileDialog dialog(FileDialog::Kind::Open, folder.filePath(QStringLiteral("a.hgd")));
    EXPECT_FALSE(dialog.Execute(nullptr).has_value());
    finished = true;
    release.join();
    EXPECT_EQ(typed, names);
    EXPECT_LT(took.elapsed(), 6000) << "the window's thread was blocked";
}
