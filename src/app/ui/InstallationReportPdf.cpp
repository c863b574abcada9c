#include "app/InstallationReportPdf.h"
#include "app/ui/OffscreenFonts.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <QUrl>

#include <array>
#include <clocale>
#include <cstdio>
#include <memory>

// Resources live in a static library; this keeps them linked in.
static void InitReportResources() { Q_INIT_RESOURCE(report); }

namespace halcyra {

namespace {

constexpr int kResolution = 300;              // dots per inch of the drawing
constexpr double kMarginMm = 16;              // left, right and top
constexpr double kFooterMm = 10;              // the footer's band above the bottom margin
constexpr double kBottomMarginMm = 12;
constexpr std::array<double, 4> kFontSizes = {9, 8.5, 8, 7.5}; // tried in turn to stay within three pages
constexpr int kMostPages = 3;
constexpr double kCompactFontSize = 8.5; // the smallest print worth a page saved

constexpr int kPictureWidth = 110; // the orientation picture, in pixels of a 96 dpi screen

const char* const kAccent = "#1d4f5e";
const char* const kBand = "#e4ecef";
const char* const kStripe = "#f5f8f9";
const char* const kMissing = "#a40000";

QString Html(const std::string& text) { return QString::fromStdString(text).toHtmlEscaped(); }

// Line ends of a note become line breaks.
QString HtmlLines(const std::string& text) { return Html(text).replace(QLatin1Char('\n'), QStringLiteral("<br>")); }

// A program without an application object (the command line) gets an
// offscreen one for as long as the drawing takes; its chatter on standard
// error is no message of ours.
class COffscreenApplication {
public:
    COffscreenApplication()
    {
        if (QCoreApplication::instance())
            return;
        previous_ = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type == QtCriticalMsg || type == QtFatalMsg)
                std::fprintf(stderr, "%s\n", qPrintable(text));
        });
        OfferSystemFontsOffscreen();
        app_ = std::make_unique<QGuiApplication>(argc_, argv_.data());
        // Qt takes the user's locale for everything; numbers stay as the
        // controller writes them (a decimal comma must never reach it).
        std::setlocale(LC_NUMERIC, "C");
    }
    ~COffscreenApplication()
    {
        if (!app_)
            return;
        app_.reset();
        qInstallMessageHandler(previous_);
    }
    COffscreenApplication(const COffscreenApplication&) = delete;
    COffscreenApplication& operator=(const COffscreenApplication&) = delete;

    static bool CanDraw() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr; }

private:
    // The platform that needs no display, whatever QT_QPA_PLATFORM says.
    inline static char program_[] = "halcyra";
    inline static char option_[] = "-platform";
    inline static char platform_[] = "offscreen";
    std::array<char*, 4> argv_ = {program_, option_, platform_, nullptr};
    int argc_ = 3;
    QtMessageHandler previous_ = nullptr;
    std::unique_ptr<QGuiApplication> app_;
};

// ---------------------------------------------------------------- the document
//
// Every table carries its headings in its head: a heading never stays alone
// at the foot of a page, and a table that runs on to the next page repeats
// them there. Columns: the label, the value with its unit, and a column the
// value shares unless the section has a picture.

QString StripeOf(std::size_t row)
{
    return row % 2 == 1 ? QStringLiteral(" bgcolor=\"%1\"").arg(QLatin1String(kStripe)) : QString();
}

QString BandRow(const QString& title)
{
    return QStringLiteral("<tr><td colspan=\"3\" bgcolor=\"%1\" style=\"padding-top:3px; padding-bottom:3px;\">"
                          "<span style=\"font-size:large; font-weight:600; color:%2;\">%3</span></td></tr>")
        .arg(QLatin1String(kBand), QLatin1String(kAccent), title);
}

QString TitleRow(const std::string& title)
{
    return QStringLiteral("<tr><td colspan=\"3\" style=\"padding-top:4px;\"><span style=\"font-weight:600; "
                          "color:%1;\">%2</span></td></tr>")
        .arg(QLatin1String(kAccent), Html(title));
}

QString Table(const QString& head, const QString& body)
{
    return QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"2\" style=\"margin-top:3px;\">"
                          "<thead>%1</thead><tbody>%2</tbody></table>")
        .arg(head, body);
}

QString ValueHtml(const ReportRow& row)
{
    if (!row.read)
        return QStringLiteral("<i><span style=\"color:%1;\">%2</span></i>")
            .arg(QLatin1String(kMissing), Html(row.value));
    QString html = QStringLiteral("<b>%1</b>").arg(HtmlLines(row.value));
    if (!row.unit.empty())
        html += QStringLiteral("&nbsp;") + Html(row.unit);
    return html;
}

QString PictureName(int picture) { return QStringLiteral("orientation-%1.png").arg(picture, 2, 10, QLatin1Char('0')); }

// The rows of a section; with a picture, the picture stands beside them.
// A note's lines are rows of their own, so that a page may end between them.
QString RowsHtml(const ReportSection& section)
{
    const bool picture = section.picture >= 0;
    std::vector<std::pair<QString, std::size_t>> cells; // a row's cells, and the stripe of the value it shows
    for (std::size_t i = 0; i < section.rows.size(); ++i) {
        const ReportRow& row = section.rows[i];
        if (!row.note) {
            cells.emplace_back(QStringLiteral("<td width=\"44%\">%1</td><td colspan=\"%2\">%3</td>")
                                   .arg(Html(row.label), QString::number(picture ? 1 : 2), ValueHtml(row)),
                               i);
            continue;
        }
        for (const QString& line : QString::fromStdString(row.value).split(QLatin1Char('\n')))
            cells.emplace_back(QStringLiteral("<td colspan=\"%1\" style=\"color:#444444;\">%2</td>")
                                   .arg(QString::number(picture ? 2 : 3), line.toHtmlEscaped()),
                               i);
    }
    QString html;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        html += QStringLiteral("<tr%1>").arg(StripeOf(cells[i].second)) + cells[i].first;
        if (picture && i == 0)
            html += QStringLiteral("<td width=\"18%\" rowspan=\"%1\" align=\"right\" valign=\"top\">"
                                   "<img src=\"%2\" width=\"%3\"></td>")
                        .arg(QString::number(cells.size()), PictureName(section.picture),
                             QString::number(kPictureWidth));
        html += QStringLiteral("</tr>");
    }
    return html;
}

// A part of the report: its band, then each section under its title; the
// band goes with the first section.
QString PartHtml(const QString& band, const std::vector<ReportSection>& sections, const QString& whenNone)
{
    if (sections.empty())
        return Table(BandRow(band), QStringLiteral("<tr><td colspan=\"3\">%1</td></tr>").arg(whenNone));
    QString html;
    for (std::size_t i = 0; i < sections.size(); ++i)
        html += Table((i == 0 ? BandRow(band) : QString()) + TitleRow(sections[i].title), RowsHtml(sections[i]));
    return html;
}

QString TitleHtml(const InstallationReport& report)
{
    QString html = QStringLiteral(
        "<table width=\"100%\" cellspacing=\"0\" cellpadding=\"0\"><tr>"
        "<td width=\"56\" valign=\"middle\"><img src=\"halcyra.png\" width=\"44\"></td>"
        "<td valign=\"middle\"><span style=\"font-size:xx-large; font-weight:600; color:%1;\">%2</span><br>"
        "<span style=\"color:#555555;\">Halcyra autosteering system</span></td>"
        "<td align=\"right\" valign=\"middle\"><span style=\"color:#555555;\">Date</span><br><b>%3</b></td>"
        "</tr></table>")
                       .arg(QLatin1String(kAccent), QLatin1String(kInstallationReportTitle), Html(report.date));
    const auto person = [](const std::string& name) {
        return name.empty() ? QStringLiteral("&nbsp;") : QStringLiteral("<b>%1</b>").arg(Html(name));
    };
    html += QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"4\" style=\"margin-top:8px;\">"
                           "<tr><td width=\"14%\" bgcolor=\"%1\">Installer</td><td width=\"36%\">%2</td>"
                           "<td width=\"14%\" bgcolor=\"%1\">Customer</td><td width=\"36%\">%3</td></tr></table>")
                .arg(QLatin1String(kBand), person(report.people.installer), person(report.people.customer));
    if (const std::size_t missing = report.NotReadCount()) {
        QString text = QStringLiteral("%1 value%2 could not be read from the controller and show%3 as \"%4\".")
                           .arg(QString::number(missing), QLatin1String(missing == 1 ? "" : "s"),
                                QLatin1String(missing == 1 ? "s" : ""), QLatin1String(kNotReadText));
        if (report.controllerStopped)
            text += QStringLiteral(" The controller stopped answering while the report was being read.");
        html += QStringLiteral("<p style=\"margin-top:6px; color:%1;\"><b>Incomplete:</b> %2</p>")
                    .arg(QLatin1String(kMissing), text.toHtmlEscaped());
    }
    return html;
}

QString FaultsHtml(const InstallationReport& report)
{
    const QString band = BandRow(QStringLiteral("Faults Recorded"));
    const auto alone = [&band](const QString& text) {
        return Table(band, QStringLiteral("<tr><td colspan=\"3\">%1</td></tr>").arg(text));
    };
    if (!report.faultsRead)
        return alone(QStringLiteral("<i><span style=\"color:%1;\">%2</span></i>")
                         .arg(QLatin1String(kMissing), QLatin1String(kNotReadText)));
    if (report.faults.empty())
        return alone(QStringLiteral("No faults are recorded."));
    const QString head = band + QStringLiteral("<tr><td width=\"10%\"><b>Fault</b></td>"
                                               "<td width=\"76%\"><b>Description</b></td>"
                                               "<td width=\"14%\"><b>Count</b></td></tr>");
    QString body;
    for (std::size_t i = 0; i < report.faults.size(); ++i) {
        const ReportFault& f = report.faults[i];
        const QString description =
            f.read ? Html(f.description)
                   : QStringLiteral("<i><span style=\"color:%1;\">%2</span></i>")
                         .arg(QLatin1String(kMissing), QLatin1String(kNotReadText));
        body += QStringLiteral("<tr%1><td>%2</td><td>%3</td><td>%4</td></tr>")
                    .arg(StripeOf(i + 1), QStringLiteral("%1").arg(f.number, 3, 10, QLatin1Char('0')), description,
                         f.read ? QString::number(f.count) : QString());
    }
    return Table(head, body);
}

// The sign-off, laid out as a whole on one page: the names on one row, the
// lines to sign on the next, so they stay level however long a name is.
QString SignOffHtml(const InstallationReport& report, bool newPage)
{
    const auto name = [](const char* who, const std::string& person) {
        return QStringLiteral("<td width=\"48%\" valign=\"top\">%1: %2</td>")
            .arg(QLatin1String(who), person.empty() ? QStringLiteral("______________________________")
                                                    : QStringLiteral("<b>%1</b>").arg(Html(person)));
    };
    const QString line = QStringLiteral("<td width=\"48%\" valign=\"bottom\"><br><br>"
                                        "Signature ____________________&nbsp;&nbsp;Date ____________</td>");
    const QString breakBefore = newPage ? QStringLiteral(" page-break-before:always;") : QString();
    return QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"2\" style=\"margin-top:6px;%1\">"
                          "%2<tr><td colspan=\"3\">The system was installed, set up and calibrated as recorded "
                          "above.</td></tr></table>"
                          "<table width=\"100%\" cellspacing=\"0\" cellpadding=\"4\">"
                          "<tr>%3<td width=\"4%\"></td>%4</tr><tr>%5<td></td>%5</tr></table>")
        .arg(breakBefore, BandRow(QStringLiteral("Sign-off")), name("Installer", report.people.installer),
             name("Customer", report.people.customer), line);
}

QString BodyHtml(const InstallationReport& report)
{
    QString html = TitleHtml(report);
    html += Table(BandRow(QStringLiteral("Controller")), RowsHtml(report.controller));
    html += Table(BandRow(QStringLiteral("Vehicle")), RowsHtml(report.vehicle));
    html += PartHtml(QStringLiteral("Configuration"), report.configuration,
                     QStringLiteral("No configuration pages apply to this vehicle."));
    html += PartHtml(QStringLiteral("Calibration"), report.calibration,
                     QStringLiteral("No calibration pages apply to this vehicle."));
    return html + FaultsHtml(report);
}

QString Document(const QString& body) { return QStringLiteral("<html><body>") + body + QStringLiteral("</body></html>"); }

// ---------------------------------------------------------------- pages

QString ValueOf(const ReportSection& section, const char* label)
{
    for (const ReportRow& row : section.rows)
        if (row.read && row.label == label)
            return QString::fromStdString(row.value);
    return {};
}

QString FooterText(const InstallationReport& report)
{
    QString text = QStringLiteral("Halcyra Toolbox %1 \u2014 %2").arg(QLatin1String(HALCYRA_VERSION),
                                                                      QLatin1String(kInstallationReportTitle));
    const QString model = ValueOf(report.vehicle, "Current Vehicle Model");
    const QString serial = ValueOf(report.controller, "Serial Number");
    if (!model.isEmpty())
        text += QStringLiteral(" \u2014 %1").arg(model);
    if (!serial.isEmpty())
        text += QStringLiteral(" \u2014 serial %1").arg(serial);
    if (!report.date.empty())
        text += QStringLiteral(" \u2014 %1").arg(QString::fromStdString(report.date));
    return text;
}

double MmToDots(double mm) { return mm / 25.4 * kResolution; }

void Lay(QTextDocument& doc, const QString& html, double pointSize, const QSizeF& body)
{
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Arial"), QStringLiteral("Helvetica")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    doc.setDefaultFont(font);
    doc.setDocumentMargin(0);
    doc.setPageSize(body);
    doc.setHtml(html);
}

// The used height of the document's last page.
double LastPageUsed(QTextDocument& doc, double pageHeight)
{
    const double height = doc.documentLayout()->documentSize().height();
    return height - (doc.pageCount() - 1) * pageHeight;
}

// The report in the largest print that fits it on two pages, unless that
// would take a print below 8.5 pt; else the largest that fits it on three.
// The sign-off always stands whole on the last page.
void LayOutWithSignOffWhole(QTextDocument& doc, const InstallationReport& report, const QSizeF& page)
{
    const QString body = BodyHtml(report);
    const auto lay = [&](double size) {
        Lay(doc, Document(SignOffHtml(report, false)), size, page);
        const double signOff = doc.documentLayout()->documentSize().height();
        Lay(doc, Document(body), size, page);
        const bool newPage = LastPageUsed(doc, page.height()) + signOff > page.height();
        Lay(doc, Document(body + SignOffHtml(report, newPage)), size, page);
        return doc.pageCount();
    };
    for (const auto& [pages, smallest] : {std::pair{2, kCompactFontSize}, std::pair{kMostPages, kFontSizes.back()}})
        for (double size : kFontSizes)
            if (size >= smallest && lay(size) <= pages)
                return;
}

} // namespace

ReportPaper LocalePaper()
{
    const std::string name = PaperLocaleName();
    return PaperForLocale(name.empty() ? QLocale::system().name().toStdString() : name);
}

bool DrawInstallationReport(const InstallationReport& report, ReportPaper paper, std::string& pdf,
                            std::string& error)
{
    COffscreenApplication application;
    if (!COffscreenApplication::CanDraw()) {
        error = "the program's application object cannot draw";
        return false;
    }
    InitReportResources();

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(kResolution);
    writer.setPageSize(QPageSize(paper == ReportPaper::Letter ? QPageSize::Letter : QPageSize::A4));
    writer.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kBottomMarginMm), QPageLayout::Millimeter);
    writer.setTitle(QStringLiteral("%1 %2").arg(QLatin1String(kInstallationReportTitle),
                                                QString::fromStdString(report.date)));
    writer.setCreator(QStringLiteral("Halcyra Toolbox " HALCYRA_VERSION));

    const QRectF page = writer.pageLayout().paintRectPixels(kResolution);
    const double footer = MmToDots(kFooterMm);
    const QSizeF body(page.width(), page.height() - footer);

    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(&writer);
    doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("halcyra.png")),
                    QImage(QStringLiteral(":/res/halcyra.png")));
    for (const ReportSection& section : report.calibration)
        if (section.picture >= 0)
            doc.addResource(QTextDocument::ImageResource, QUrl(PictureName(section.picture)),
                            QImage(QStringLiteral(":/res/") + PictureName(section.picture)));
    LayOutWithSignOffWhole(doc, report, body);
    QPainter painter;
    if (!painter.begin(&writer)) {
        error = "the PDF could not be started";
        return false;
    }
    const int pages = doc.pageCount();
    const QString footerText = FooterText(report);
    QFont footerFont = doc.defaultFont();
    footerFont.setPointSizeF(7);
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            writer.newPage();
        painter.save();
        const QRectF shown(0, i * body.height(), body.width(), body.height());
        painter.translate(0, -shown.top());
        QAbstractTextDocumentLayout::PaintContext context;
        // A line that starts exactly at the page's foot belongs to the next page.
        context.clip = shown.adjusted(0, 1, 0, -1);
        painter.setClipRect(shown);
        doc.documentLayout()->draw(&painter, context);
        painter.restore();

        const double top = body.height() + footer * 0.35;
        painter.setPen(QPen(QColor(0x99, 0x99, 0x99), MmToDots(0.2)));
        painter.drawLine(QPointF(0, top), QPointF(body.width(), top));
        painter.setPen(QColor(0x55, 0x55, 0x55));
        painter.setFont(footerFont);
        const QRectF line(0, top + MmToDots(1), body.width(), footer * 0.6);
        painter.drawText(line, Qt::AlignLeft | Qt::AlignTop, footerText);
        painter.drawText(line, Qt::AlignRight | Qt::AlignTop, QStringLiteral("Page %1 of %2").arg(i + 1).arg(pages));
    }
    if (!painter.end()) {
        error = "the PDF could not be finished";
        return false;
    }
    buffer.close();
    pdf.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return true;
}

} // namespace halcyra
