#include "ui/filedialog.h"

#include <QFileDialog>

namespace {

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
        QFileDialog dialog(parent);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
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
