#include "setup/ui/SetupScreens.h"

#include "link/Files.h"
#include "pages/ui/ScreenRenderer.h"
#include "pages/ui/UiContext.h"
#include "setup/SetupCompare.h"
#include "setup/SetupFiles.h"
#include "setup/ui/SetupCompareDlg.h"

#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace halcyra {

void RenderSetupCompareScreen(CUiContext& context, QWidget* parent, CScreenRenderer& screens)
{
    QTemporaryDir dir;
    const std::string saved = dir.filePath(QStringLiteral("saved.cfg")).toStdString();
    const std::string edited = dir.filePath(QStringLiteral("edited.cfg")).toStdString();
    if (!dir.isValid() || !SaveBlockToFile(context.link, saved, kSetupBlock, true))
        return;
    // The controller's own setup, with some values as another vehicle would
    // have them and a record from a newer firmware.
    std::string savedText;
    if (ReadWholeFile(saved, savedText) != FileRead::Read)
        return;
    std::string out;
    int changed = 0;
    for (const SetupRecord& r : ReadSetupRecords(savedText)) {
        if (r.name.rfind("RO", 0) == 0)
            continue; // live readings: they change while the controller runs
        std::string value = r.value;
        const bool length = IsLengthParam(r.name);
        char* end = nullptr;
        const double number = std::strtod(value.c_str(), &end);
        const bool numeric = !value.empty() && end == value.c_str() + value.size();
        if ((length || changed < 4) && numeric) {
            value = std::to_string(number + (length ? 0.25 : 1.0));
            ++changed;
        }
        out += r.name + ": " + value + "\r\n";
    }
    out += "SteerAssistLevel: 3\r\n";
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenFile(edited, "wb"), &std::fclose);
    if (!file || std::fwrite(out.data(), 1, out.size(), file.get()) != out.size() || std::fflush(file.get()) != 0)
        return;
    file.reset();
    SetupComparison comparison;
    std::string error;
    if (CompareSetupWithController(context.link, edited, comparison, error) != CompareResult::Compared)
        return;
    comparison.path = "Configuration Files/tractor-2026.cfg";
    CSetupCompareDlg dialog(context, std::move(comparison), parent);
    dialog.EnsureInitialised();
    dialog.resize(640, 360);
    screens.Save(dialog, QStringLiteral("setup-compare"));
}

} // namespace halcyra
