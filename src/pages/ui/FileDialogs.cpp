#include "pages/ui/FileDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QRegularExpression>
#include <QStringList>

namespace halcyra {

std::optional<std::string> RunFileDialog(QWidget* parent, const FileRequest& request)
{
    QFileDialog dialog(parent);
    const bool save = request.mode == FileDialogMode::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(QtFileFilter(QString::fromStdString(request.filter)));
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultSuffix));
    if (!request.directory.empty())
        dialog.setDirectory(QString::fromStdString(request.directory));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    // UTF-8, as every path of the Qt-free code (not the local code page of encodeName).
    return dialog.selectedFiles().first().toStdString();
}

std::optional<std::string> CFileDialogChooser::ChooseFile(const FileRequest& request)
{
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner)
        owner = QApplication::activeWindow();
    return RunFileDialog(owner, request);
}

QString QtFileFilter(const QString& filter)
{
    const QStringList fields = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < fields.size(); i += 2) {
        QString label = fields[i].trimmed();
        if (label.isEmpty())
            break; // the "||" that ends the list
        QStringList patterns;
        auto add = [&patterns](const QString& text) {
            static const QRegularExpression separators(QStringLiteral("[;\\s]+"));
            for (QString p : text.split(separators, Qt::SkipEmptyParts)) {
                if (p == QLatin1String("*.*"))
                    p = QStringLiteral("*");
                if (!patterns.contains(p))
                    patterns << p;
            }
        };
        // The patterns a description shows in its last parentheses.
        if (label.endsWith(QLatin1Char(')'))) {
            const qsizetype open = label.lastIndexOf(QLatin1Char('('));
            if (open >= 0) {
                add(label.mid(open + 1, label.size() - open - 2));
                label = label.left(open).trimmed();
            }
        }
        add(fields[i + 1]);
        entries << QStringLiteral("%1 (%2)").arg(label, patterns.join(QLatin1Char(' ')));
    }
    return entries.join(QStringLiteral(";;"));
}

} // namespace halcyra
