#pragma once
// "Installation Diagnostics": one page for each input the controller is
// configured with, chosen once when the sheet is made. "Record..." records
// what the active page polls into a CSV file until "Stop", until another
// page is chosen or until the sheet closes.

#include "diagnostics/DiagnosticsPages.h"
#include "diagnostics/DiagnosticsRecording.h"
#include "pages/ui/HCPropertySheet.h"

#include <array>
#include <string>

class QLabel;

namespace halcyra {

class CHCDiagnosticsPropertyPage;
class CUiContext;

inline constexpr const char* kRecordText = "Record...";
inline constexpr const char* kStopRecordingText = "Stop";
inline constexpr const char* kRecordErrorCaption = "Record Error";
inline constexpr const char* kCsvFileFilter = "CSV Files (*.csv)|*.csv|All Files (*.*)|*.*||";

class CDiagSheet final : public CHCPropertySheet {
    Q_OBJECT

public:
    // Reads the controller's input configuration.
    explicit CDiagSheet(CUiContext& context, QWidget* parent = nullptr);
    ~CDiagSheet() override;

    // The sheet's page of that kind, whether the sheet holds it or not.
    CHCDiagnosticsPropertyPage* Page(DiagPage page) const { return pages_[static_cast<std::size_t>(page)]; }

    // "Record...": asks for the file and records the active page into it;
    // "Stop": ends the recording.
    void OnRecord();
    // Records the active page's polls into path; false, after its box, when
    // the file cannot be made.
    bool StartRecording(const std::string& path);
    // Puts the file in place with every row so far and says where it went.
    void StopRecording();

    bool IsRecording() const { return recording_.IsOpen(); }
    const CDiagRecording& Recording() const { return recording_; }
    QPushButton* RecordButton() const { return record_; }
    QLabel* RecordingStatus() const { return recordStatus_; }

    void done(int result) override;

protected:
    void OnInitDialog() override;

private:
    void OnPagePolled(CHCDiagnosticsPropertyPage* page, bool read);
    void OnPageChanged();
    void ShowRecordingState();
    void ShowStatus(const QString& text, const std::string& path);

    CUiContext& context_;
    std::array<CHCDiagnosticsPropertyPage*, kDiagPageCount> pages_{};
    CDiagRecording recording_;
    CHCDiagnosticsPropertyPage* recordedPage_ = nullptr;
    QPushButton* record_ = nullptr;
    QLabel* recordStatus_ = nullptr;
};

} // namespace halcyra
