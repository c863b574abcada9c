// Widget tests run offscreen with one QApplication for the whole binary.
// Settings are kept in a directory of the run's own.

#include "app/ui/OffscreenFonts.h"
#include "app/ui/ToolboxApp.h"

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>


int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    halcyra::OfferSystemFontsOffscreen(); // as the programs do
    QApplication app(argc, argv);
    halcyra::ConfigureApplication();
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
