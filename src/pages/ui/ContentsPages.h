#pragma once
// The first three pages of the setup sheet. Each lists the pages of its own
// sheet (configuration, calibration, diagnostics) and opens the chosen one;
// the sheets themselves come with their subsystems, so the lists are empty
// for now and the button answers "No pages available!".

#include "pages/ui/ContentsListPage.h"

namespace halcyra {

// Result codes with which a contents page ends the setup sheet to have it
// rebuilt and reopened at its own tab: the pages' template numbers.
inline constexpr int kConfigContentsResult = 152;
inline constexpr int kCalContentsResult = 134;
inline constexpr int kDiagContentsResult = 345;

class CConfigContentsPage : public CContentsListPage {
    Q_OBJECT

public:
    explicit CConfigContentsPage(CControllerLink& link, QWidget* parent = nullptr);
    bool OnInitDialog() override;
    bool OnSetActive() override;

protected:
    // Whatever happened in the configuration sheet (a vehicle change alters
    // its pages), the setup sheet is rebuilt.
    void AfterOpen() override { EndSheet(kConfigContentsResult); }
};

class CCalContentsPage : public CContentsListPage {
    Q_OBJECT

public:
    explicit CCalContentsPage(CControllerLink& link, QWidget* parent = nullptr);
    bool OnInitDialog() override;

protected:
    void AfterOpen() override;
};

class CDiagContentsPage : public CContentsListPage {
    Q_OBJECT

public:
    explicit CDiagContentsPage(CControllerLink& link, QWidget* parent = nullptr);
    bool OnInitDialog() override;

protected:
    void AfterOpen() override;
};

} // namespace halcyra
