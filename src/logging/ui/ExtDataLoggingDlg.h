#pragma once
// "External Data Logging": the log the controller streams to the PC, saved
// record by record into the ".DBG" file prepared for it, with the records
// saved, the records lost on the way and the logging time.
//
// Records are taken when the port has bytes for them: the window watches
// the port's descriptor and is idle in between.

#include "logging/ExternalLog.h"
#include "pages/ui/HCDialog.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QSocketNotifier;
class QTimer;

namespace halcyra {

class CExtDataLoggingDlg : public CHCDialog {
    Q_OBJECT

public:
    // log has been prepared (file and header) and outlives the window.
    CExtDataLoggingDlg(CUiContext& context, CExternalLog& log, QWidget* parent = nullptr);
    ~CExtDataLoggingDlg() override;

    void OnStart();
    void OnStop();
    // Gives the controller its previous output setting back and closes.
    void OnDone();

    // Takes what the port holds now; portReadable when the port's watch woke it.
    void TakeRecords(bool portReadable = false);

    QLineEdit* ConfigurationField() const { return configuration_; }
    QLineEdit* LogFileField() const { return logFile_; }
    QComboBox* RateList() const { return rate_; }
    QLineEdit* RecordsSavedField() const { return saved_; }
    QLineEdit* RecordsDroppedField() const { return dropped_; }
    QLineEdit* TimeField() const { return time_; }
    QPushButton* StartButton() const { return start_; }
    QPushButton* StopButton() const { return stop_; }
    QPushButton* DoneButton() const { return done_; }

public slots:
    // Escape and the close box: Done where Done is allowed, nothing while
    // records stream in.
    void reject() override;

private:
    void ShowCounters();
    void ArmDeadline();
    void WatchPort(bool watch);

    CExternalLog& log_;
    QLineEdit* configuration_ = nullptr;
    QLineEdit* logFile_ = nullptr;
    QComboBox* rate_ = nullptr;
    QLineEdit* saved_ = nullptr;
    QLineEdit* dropped_ = nullptr;
    QLineEdit* time_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* stop_ = nullptr;
    QPushButton* done_ = nullptr;
    QSocketNotifier* portWatch_ = nullptr;
    QTimer* resume_ = nullptr;   // the port read again after a rest
    QTimer* deadline_ = nullptr; // a record left unfinished is dropped
    QTimer* clock_ = nullptr;    // the logging time on screen
    bool taking_ = false;
    bool portFailed_ = false;
};

} // namespace halcyra
