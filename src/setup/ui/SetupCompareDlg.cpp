#include "setup/ui/SetupCompareDlg.h"

#include "link/AtomicFile.h"
#include "link/Notifier.h"
#include "pages/DataDirectories.h"
#include "pages/ui/UiContext.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace halcyra {

namespace {

constexpr const char* kTextFileFilter = "Text Files (*.TXT)|*.txt|All Files (*.*)|*.*||";

// Sorts cells that both start with a number by that number ("59.06 in"
// before "118.11 in"), others as text.
class CValueSortProxy final : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override
    {
        const QString a = left.data().toString();
        const QString b = right.data().toString();
        bool numberA = false, numberB = false;
        const double x = a.section(QLatin1Char(' '), 0, 0).toDouble(&numberA);
        const double y = b.section(QLatin1Char(' '), 0, 0).toDouble(&numberB);
        if (numberA && numberB && x != y)
            return x < y;
        return QString::localeAwareCompare(a, b) < 0;
    }
};

QString Summary(const SetupComparison& c)
{
    std::size_t unknown = 0;
    for (const auto& row : c.rows)
        unknown += row.unknown ? 1 : 0;
    QString text = QStringLiteral("%1 records of %2 compared with the controller: %3 differ, %4 not known by the "
                                  "controller.")
                       .arg(c.compared)
                       .arg(QString::fromStdString(c.path))
                       .arg(c.rows.size() - unknown)
                       .arg(unknown);
    if (!c.unitName.empty())
        text += QStringLiteral(" Lengths in %1.").arg(QString::fromStdString(c.unitName));
    return text;
}

} // namespace

CSetupCompareDlg::CSetupCompareDlg(CUiContext& context, SetupComparison comparison, QWidget* parent)
    : CHCDialog(context, parent), comparison_(std::move(comparison))
{
    setWindowTitle(QStringLiteral("Compare With Controller"));
    auto* layout = new QVBoxLayout(this);
    auto* summary = new QLabel(comparison_.Matches() ? QStringLiteral("The controller's values match the file. ") +
                                                           Summary(comparison_)
                                                     : Summary(comparison_),
                               this);
    summary->setObjectName(QStringLiteral("summary"));
    summary->setWordWrap(true);
    layout->addWidget(summary);

    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(new QLabel(QStringLiteral("Filter:"), this));
    filter_ = new QLineEdit(this);
    filter_->setObjectName(QStringLiteral("filter"));
    filter_->setPlaceholderText(QStringLiteral("name or value"));
    filter_->setClearButtonEnabled(true);
    filterRow->addWidget(filter_, 1);
    layout->addLayout(filterRow);

    model_ = new QStandardItemModel(0, 4, this);
    model_->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("File Value"),
                                       QStringLiteral("Controller Value"), QStringLiteral("Difference")});
    for (const SetupComparisonRow& row : comparison_.rows) {
        QList<QStandardItem*> items = {
            new QStandardItem(QString::fromStdString(row.name)),
            new QStandardItem(QString::fromStdString(row.fileValue)),
            new QStandardItem(row.unknown ? QString() : QString::fromStdString(row.controllerValue)),
            new QStandardItem(row.unknown ? QStringLiteral("not known by the controller")
                                          : QStringLiteral("values differ")),
        };
        for (QStandardItem* item : items)
            item->setEditable(false);
        model_->appendRow(items);
    }
    proxy_ = new CValueSortProxy(this);
    proxy_->setSourceModel(model_);
    proxy_->setFilterCaseSensitivity(Qt::CaseInsensitive);
    proxy_->setFilterKeyColumn(-1);
    connect(filter_, &QLineEdit::textChanged, proxy_, &QSortFilterProxyModel::setFilterFixedString);

    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("comparison"));
    table_->setModel(proxy_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(-1, Qt::AscendingOrder); // file order until a header is clicked
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->resizeColumnsToContents();
    table_->setMinimumSize(560, 260);
    layout->addWidget(table_, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    save_ = buttons->addButton(QStringLiteral("Save As Text..."), QDialogButtonBox::ActionRole);
    save_->setObjectName(QStringLiteral("saveAsText"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    OnClicked(save_, [this] { SaveAsText(); });
}

QStringList CSetupCompareDlg::VisibleRows() const
{
    QStringList rows;
    for (int r = 0; r < proxy_->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < proxy_->columnCount(); ++c)
            cells << proxy_->index(r, c).data().toString();
        rows << cells.join(QLatin1Char('\t'));
    }
    return rows;
}

bool CSetupCompareDlg::SaveAsText()
{
    FileRequest request;
    request.mode = FileDialogMode::Save;
    request.directory = Context().directories.ConfigurationDir();
    request.filter = kTextFileFilter;
    request.defaultSuffix = "txt";
    const std::optional<std::string> path = Context().files->ChooseFile(request);
    if (!path)
        return false;
    const std::string text = SetupComparisonText(comparison_);
    CAtomicFile file;
    if (!file.Open(*path) || std::fwrite(text.data(), 1, text.size(), file.File()) != text.size() ||
        !file.Commit()) {
        Context().notifier.Notify("Error: Could not open specified file for writing!", "Save Error", MsgButtons::Ok,
                                  MsgIcon::Stop);
        return false;
    }
    Context().notifier.Notify("Comparison saved to " + *path, "Save Complete", MsgButtons::Ok, MsgIcon::Information);
    return true;
}

} // namespace halcyra
