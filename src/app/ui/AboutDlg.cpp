#include "app/ui/AboutDlg.h"

#include "app/ToolboxCommands.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QSysInfo>
#include <QVBoxLayout>

namespace halcyra {

namespace {

QString PlatformName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("Win32"); // the program's own name for its Windows build
#else
    QString kernel = QSysInfo::kernelType();
    if (!kernel.isEmpty())
        kernel[0] = kernel[0].toUpper();
    return kernel.isEmpty() ? QStringLiteral("Unknown") : kernel;
#endif
}

} // namespace

CAboutDlg::CAboutDlg(CUiContext& context, QWidget* parent) : CHCDialog(context, parent)
{
    setWindowTitle(QStringLiteral("About Halcyra Toolbox"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(14);
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setPixmap(QIcon(QStringLiteral(":/res/halcyra.png")).pixmap(32, 32));
    layout->addWidget(icon, 0, Qt::AlignTop);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(4);
    auto add = [this, texts](const QString& text, const char* name) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QString::fromLatin1(name));
        texts->addWidget(label);
    };
    add(QStringLiteral("Halcyra Toolbox II (%1)").arg(PlatformName()), "title");
    add(QString::fromStdString(AboutVersionLine()), "version");
    add(QStringLiteral("Copyright (C) Veltrane. All rights reserved."), "rights");
    texts->addStretch(1);
    layout->addLayout(texts, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, Qt::Vertical, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons, 0, Qt::AlignTop);
}

} // namespace halcyra
