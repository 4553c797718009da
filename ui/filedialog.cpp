// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/filedialog.h"

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStorageInfo>
#include <QStyle>

namespace {

// Icons and type names from the kind of an entry alone. The default provider
// guesses a file's type by reading its first bytes, and a file that blocks on
// read (a FIFO, /proc/kmsg, a hung network mount) then stops the listing and
// the dialog with it; this one never opens a file.
class KindIconProvider : public QAbstractFileIconProvider {
public:
    KindIconProvider() { setOptions(DontUseCustomDirectoryIcons); }

    QIcon icon(IconType type) const override
    {
        switch (type) {
        case Computer:
            return Standard(QStyle::SP_ComputerIcon);
        case Desktop:
            return Standard(QStyle::SP_DesktopIcon);
        case Trashcan:
            return Standard(QStyle::SP_TrashIcon);
        case Network:
            return Standard(QStyle::SP_DriveNetIcon);
        case Drive:
            return Standard(QStyle::SP_DriveHDIcon);
        case Folder:
            return Standard(QStyle::SP_DirIcon);
        case File:
            break;
        }
        return Standard(QStyle::SP_FileIcon);
    }

    QIcon icon(const QFileInfo& info) const override
    {
        if (info.isRoot())
            return icon(Drive);
        if (info.isDir())
            return Standard(info.isSymLink() ? QStyle::SP_DirLinkIcon : QStyle::SP_DirIcon);
        return Standard(info.isSymLink() ? QStyle::SP_FileLinkIcon : QStyle::SP_FileIcon);
    }

    QString type(const QFileInfo& info) const override
    {
        if (info.isRoot() || info.isDir())
            return QAbstractFileIconProvider::type(info);
        // By the name alone: a regular file's extension, never its contents.
        if (!info.isFile())
            return QCoreApplication::translate("QAbstractFileIconProvider", "File");
        const QMimeType mime = QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchExtension);
        if (mime.isDefault())
            return QCoreApplication::translate("QAbstractFileIconProvider", "File");
        return mime.comment();
    }

private:
    static QIcon Standard(QStyle::StandardPixmap pixmap) { return QApplication::style()->standardIcon(pixmap); }
};

FileDialog::Chooser& TheChooser()
{
    static FileDialog::Chooser chooser;
    return chooser;
}

}  // namespace

FileDialog::FileDialog(Kind kind, QString initialName) : m_kind(kind), m_fileName(std::move(initialName)) {}

QString FileDialog::Filter()
{
    return QStringLiteral("平ギアのデーター (*.hgd)");
}

void FileDialog::SetChooser(Chooser chooser)
{
    TheChooser() = std::move(chooser);
}

std::optional<QString> FileDialog::Execute(QWidget* parent)
{
    std::optional<QString> chosen;
    if (TheChooser()) {
        chosen = TheChooser()(m_kind, m_fileName);
    } else {
        // Declared first, so that it outlives the dialog that uses it.
        KindIconProvider iconProvider;
        // The desktop's own dialog where the platform offers one (a portal or
        // the desktop's platform theme), Qt's own otherwise.
        QFileDialog dialog(parent);
        dialog.setIconProvider(&iconProvider);
        dialog.setNameFilter(Filter());
        // The filter list shows the description alone, "平ギアのデーター".
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        // The open dialog takes a name that does not exist: opening it fails later, with its own message.
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setAcceptMode(m_kind == Kind::Open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        if (m_kind == Kind::Save)
            dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (!m_fileName.isEmpty())
            dialog.selectFile(m_fileName);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            chosen = dialog.selectedFiles().constFirst();
    }
    if (chosen)
        m_fileName = *chosen;
    return chosen;
}

QString SaveDialogStartName(const QString& lastName)
{
    const QFileInfo file(lastName);
    const QFileInfo folder(file.absolutePath());
    // The file systems that hold the kernel's and the devices' entries, not files.
    static const QList<QByteArray> kernel = {"proc", "sysfs", "devtmpfs", "devpts", "debugfs", "tracefs",
                                             "securityfs", "cgroup", "cgroup2", "pstore", "bpf", "configfs",
                                             "efivarfs", "fusectl", "mqueue", "binfmt_misc", "nsfs", "autofs"};
    const QString path = folder.canonicalFilePath();
    const auto under = [&path](const char* top) {
        const QString t = QString::fromLatin1(top);
        return path == t || path.startsWith(t + QLatin1Char('/'));
    };
    const bool ordinary = folder.isDir() && folder.isWritable() && !under("/proc") && !under("/sys") &&
                          !under("/dev") && !kernel.contains(QStorageInfo(path).fileSystemType());
    return ordinary ? lastName : QDir::home().filePath(file.fileName());
}

QString AskSaveFileName(QWidget* parent, const QString& caption, const QString& lastName, const QString& filters,
                        QString* selectedFilter)
{
    KindIconProvider iconProvider;   // outlives the dialog that uses it
    QFileDialog dialog(parent, caption);
    dialog.setIconProvider(&iconProvider);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(filters.split(QStringLiteral(";;")));
    if (selectedFilter != nullptr && !selectedFilter->isEmpty())
        dialog.selectNameFilter(*selectedFilter);
    dialog.selectFile(SaveDialogStartName(lastName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    if (selectedFilter != nullptr)
        *selectedFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().constFirst();
}

